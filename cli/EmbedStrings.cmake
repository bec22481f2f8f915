# Writes the string table into a C++ source, so that pagelark-cli speaks with
# the window's English words without a resource system: -DIN=strings.txt
# -DOUT=file.cpp.
file(READ "${IN}" table)
file(WRITE "${OUT}"
  "// Made from resources/strings.txt at build time; do not edit.\n"
  "namespace pagelark::cli {\n"
  "extern const char kStringTable[];\n"
  "const char kStringTable[] = R\"pagelark-strings(${table})pagelark-strings\";\n"
  "}  // namespace pagelark::cli\n")
