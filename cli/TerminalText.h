#pragma once

#include <string>
#include <string_view>

namespace pagelark::cli {

// A text from a page, a list or the command line made safe to print on a
// terminal: every control character (C0 with TAB, LF and CR, DEL, and the C1
// controls U+0080 to U+009F) and every byte that is not part of a UTF-8
// character becomes U+FFFD. Nothing else changes, so a field printed through
// it can neither break a row nor send the terminal an escape sequence; the
// printers add their own TABs and line feeds around it. --json gives the
// exact text instead.
std::string TerminalText(std::string_view text);

}  // namespace pagelark::cli
