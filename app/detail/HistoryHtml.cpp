#include "app/detail/HistoryHtml.h"

#include <QDateTime>

#include <algorithm>

#include "app/detail/ReasonText.h"
#include "app/language/LangString.h"
#include "engine/watch/WordDiff.h"

namespace pagelark {
namespace {

constexpr int kNeedsAttention = 284;
constexpr int kLastGood = 285;
constexpr int kNoGoodResult = 287;
constexpr int kTimeNotKept = 288;
constexpr int kNewLinks = 289;
constexpr int kSeenOnce = 295;
constexpr int kAdded = 296;
constexpr int kRemoved = 297;

// The list's pale yellow for every other entry, and the marks' colours.
const QString kAlternate = QStringLiteral("#FFFFEE");
const QString kAddedStyle = QStringLiteral("background-color:#C9EFCB; color:#0B5A1D;");
const QString kRemovedColours = QStringLiteral("background-color:#F9D2D0; color:#8C1C13;");
const QString kQuiet = QStringLiteral("color:#6B6B6B;");

QString Escaped(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped();
}

QString Span(const QString& style, const QString& text) {
    return "<span style=\"" + style + "\">" + text + "</span>";
}

// CJK ideographs, kana, hangul and their full-width punctuation.
bool WrittenWithoutBlanks(QChar c) {
    const char16_t code = c.unicode();
    return (code >= 0x2E80 && code < 0xA000) || (code >= 0xAC00 && code < 0xD7B0) ||
           (code >= 0xFF00 && code < 0xFFF0);
}

// Struck through, unless Chinese is among the words: a line through 二 or
// 一 reads as another character, so there the colours alone mark them.
QString RemovedStyle(const QString& text) {
    const bool chinese = std::any_of(text.begin(), text.end(), WrittenWithoutBlanks);
    return kRemovedColours +
           (chinese ? QString() : QStringLiteral(" text-decoration:line-through;"));
}

// `after` with the words added since `before` and those removed marked.
QString MarkedWords(const std::string& before, const std::string& after) {
    QString html;
    DiffPiece::Kind previous = DiffPiece::Kind::Same;
    QString previousText = QStringLiteral(" ");
    for (const DiffPiece& piece : DiffWords(before, after)) {
        QString text = QString::fromStdString(piece.text);
        // A replacement reads "old new", not "oldnew"; Chinese, written
        // without blanks, stays without them.
        if (piece.kind == DiffPiece::Kind::Added && previous == DiffPiece::Kind::Removed &&
            !text.isEmpty() && !text.startsWith(' ') && !WrittenWithoutBlanks(text.front()) &&
            !WrittenWithoutBlanks(previousText.back()))
            text.prepend(' ');
        previousText = text.isEmpty() ? QStringLiteral(" ") : text;
        // The blank before a marked stretch stays unmarked.
        QString lead;
        if (piece.kind != DiffPiece::Kind::Same && text.startsWith(' ')) {
            lead = " ";
            text.remove(0, 1);
        }
        text = text.toHtmlEscaped();
        switch (piece.kind) {
            case DiffPiece::Kind::Same:
                html += text;
                break;
            case DiffPiece::Kind::Added:
                html += lead + Span(kAddedStyle, text);
                break;
            case DiffPiece::Kind::Removed:
                html += lead + Span(RemovedStyle(text), text);
                break;
        }
        previous = piece.kind;
    }
    return html;
}

QString Banner(const DetailHistory& history) {
    const HistoryStateLines said = StateLinesOf(history);
    QStringList lines;
    if (!said.reason.isEmpty()) lines << "<b style=\"color:#A4161A;\">" + said.reason + "</b>";
    if (!said.attention.isEmpty()) lines << "<b>" + said.attention + "</b>";
    if (!said.lastGood.isEmpty()) lines << Span(kQuiet, said.lastGood);
    return "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"8\" "
           "style=\"background-color:#FDE8E6; margin-bottom:8px;\"><tr><td>" +
           lines.join("<br/>") + "</td></tr></table>";
}

QString Row(const QString& time, const QString& body, bool odd) {
    // The time column as narrow as its text, the Result taking the rest.
    return "<tr" + (odd ? " style=\"background-color:" + kAlternate + ";\"" : QString()) +
           "><td valign=\"top\" width=\"1%\" style=\"" + kQuiet + " white-space:pre;\">" + time +
           "&nbsp;&nbsp;</td><td valign=\"top\">" + body + "</td></tr>";
}

QString Header(const DetailHistory& history) {
    QString header =
        "<p><span style=\"font-size:large; font-weight:600;\">" + Escaped(history.name) + "</span>";
    if (!history.url.empty() || !history.filter.empty())
        header += "<br/>" + Span(kQuiet, Escaped(history.url) + " &nbsp;&middot;&nbsp; " +
                                             Escaped(history.filter));
    return header + "</p>";
}

}  // namespace

QString HistoryTimeText(std::int64_t time) {
    if (time == 0) return LangText(kTimeNotKept);
    return QDateTime::fromSecsSinceEpoch(time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

HistoryPage HistoryHtml(const DetailHistory& history) {
    HistoryPage page;
    QString& html = page.html;
    html = "<html><body>";
    if (!history.name.empty()) html += Header(history);
    if (!history.reason.Good() || history.attention) html += Banner(history);
    if (history.history.empty()) {
        html += "<p style=\"" + kQuiet + "\">" + LangText(kNoGoodResult).toHtmlEscaped() + "</p>";
        return page;
    }
    if (history.history.size() > 1 || history.pending)
        html += "<p>" + Span(kAddedStyle, LangText(kAdded).toHtmlEscaped()) + " &nbsp; " +
                Span(RemovedStyle(LangText(kRemoved)), LangText(kRemoved).toHtmlEscaped()) + "</p>";
    html += "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"6\">";
    bool odd = false;
    if (history.pending) {
        const QString words = MarkedWords(history.history.front().result, history.pending->result);
        html += Row(HistoryTimeText(history.pending->time),
                    "<i>" + LangText(kSeenOnce).toHtmlEscaped().arg(words) + "</i>", odd);
        odd = !odd;
    }
    for (size_t i = 0; i < history.history.size(); ++i) {
        const HistoryEntry& entry = history.history[i];
        QString body = i + 1 < history.history.size()
                           ? MarkedWords(history.history[i + 1].result, entry.result)
                           : Escaped(entry.result);
        if (!entry.newEntries.empty()) {
            body += "<br/><span style=\"" + kQuiet + "\">" + LangText(kNewLinks).toHtmlEscaped() +
                    "</span>";
            for (const EntryLink& link : entry.newEntries) {
                body += "<br/>&bull; <a href=\"link:" + QString::number(page.links.size()) + "\">" +
                        Escaped(link.text.empty() ? link.url : link.text) + "</a> <span style=\"" +
                        kQuiet + "\">" + Escaped(link.url) + "</span>";
                page.links.push_back(link.url);
            }
        }
        html += Row(HistoryTimeText(entry.time), body, odd);
        odd = !odd;
    }
    html += "</table></body></html>";
    return page;
}

HistoryStateLines StateLinesOf(const DetailHistory& history) {
    HistoryStateLines said;
    if (!history.reason.Good()) said.reason = ReasonText(history.reason).toHtmlEscaped();
    if (history.attention)
        said.attention = LangText(kNeedsAttention).arg(history.failures).toHtmlEscaped();
    if (!history.history.empty())
        said.lastGood = LangText(kLastGood)
                            .arg(HistoryTimeText(history.history.front().time),
                                 QString::fromStdString(history.history.front().result))
                            .toHtmlEscaped();
    return said;
}

}  // namespace pagelark
