#include "forms/articleview.h"

#include "search/wordboundary.h"

#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace {

QTextCharFormat markFormat()
{
    QTextCharFormat format;
    format.setForeground(QColor(Qt::red));
    format.setFontWeight(QFont::Bold);
    format.setFontUnderline(true);
    return format;
}

QTextCharFormat noteFormat()
{
    QTextCharFormat format;
    format.setForeground(QColor(Qt::darkGray));
    format.setFontItalic(true);
    return format;
}

// Characters the document turns into a paragraph break, one for one, except "\r\n", which it
// turns into one break for two.
bool endsParagraph(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1);
}

struct Display
{
    QString text;
    std::vector<qsizetype> breaks; // view positions of the inserted breaks
};

// The first `shown` characters of `text` as the view shows them: one character for each of the
// article's, a line too long broken at its last white space, plus a break inserted into each run
// without white space longer than a word may be.
Display displayCopy(const QString& text, qsizetype shown)
{
    Display display;
    display.text.reserve(shown + shown / ArticleView::wordLimit + 1);
    qsizetype paragraph = 0;  // characters of the current paragraph
    qsizetype run = 0;        // of its current run without white space
    qsizetype lastSpace = -1; // its last white space, in the view
    const auto endParagraph = [&] {
        paragraph = 0;
        run = 0;
        lastSpace = -1;
    };
    for (qsizetype i = 0; i < shown; ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < shown ? text.at(i + 1) : QChar(u'\n');
        if (c == u'\r') {
            // A space before the line feed that follows keeps every later position.
            display.text += next == u'\n' ? QChar(u' ') : QChar(u'\n');
            if (next != u'\n')
                endParagraph();
            continue;
        }
        display.text += c;
        if (endsParagraph(c)) {
            endParagraph();
            continue;
        }
        ++paragraph;
        if (c.isSpace()) {
            lastSpace = display.text.size() - 1;
            run = 0;
            continue;
        }
        ++run;
        // Nothing to break at the end of a paragraph, nor between the halves of a character.
        if (endsParagraph(next) || next.isSpace() || c.isHighSurrogate())
            continue;
        if (run >= ArticleView::wordLimit) {
            display.breaks.push_back(display.text.size());
            display.text += u'\n';
            endParagraph();
        } else if (paragraph >= ArticleView::paragraphLimit && lastSpace >= 0) {
            // The white space becomes the break: one character for one.
            display.text[lastSpace] = u'\n';
            paragraph = display.text.size() - 1 - lastSpace;
            lastSpace = -1;
        }
    }
    return display;
}

} // namespace

ArticleView::ArticleView(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    document()->setUndoRedoEnabled(false);
    connect(document(), &QTextDocument::contentsChange, this, &ArticleView::contentsChanged);
}

void ArticleView::showArticle(const QString& text, const BlockEdges& edges, const QList<highlighter::Range>& marks)
{
    qsizetype shown = std::min(text.size(), shownLimit);
    // A cut never parts the two halves of a character.
    if (shown < text.size() && shown > 0 && text.at(shown - 1).isHighSurrogate())
        --shown;
    Display display = displayCopy(text, shown);

    m_showing = true;
    // Whatever was marked under the cursor must not colour the next text.
    setCurrentCharFormat(QTextCharFormat());
    // The text and its marks go in as one edit, so that the document is laid out once.
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    setPlainText(display.text);
    m_article = text;
    m_edges.assign(edges.begin(), edges.end());
    m_shown = shown;
    m_breaks = std::move(display.breaks);
    const QTextCharFormat format = markFormat();
    for (const highlighter::Range& mark : marks) {
        if (mark.start >= shown)
            break;
        const qsizetype end = std::min(mark.start + mark.length, shown);
        if (end <= mark.start)
            continue;
        cursor.setPosition(viewPosition(mark.start));
        cursor.setPosition(viewPosition(end - 1) + 1, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    if (shown < text.size()) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertBlock(QTextBlockFormat(), noteFormat());
        cursor.insertText(truncationNote(shown, text.size()), noteFormat());
    }
    cursor.endEditBlock();
    m_showing = false;
    m_mapped = true;
    setExtraSelections({});
}

void ArticleView::clearArticle()
{
    showArticle(QString(), {});
}

int ArticleView::viewPosition(qsizetype articlePosition) const
{
    const qsizetype position = std::clamp<qsizetype>(articlePosition, 0, m_shown);
    // Each inserted break before the position moves it one on; the k-th stands before the
    // article's character at its view position minus k.
    qsizetype low = 0;
    qsizetype high = qsizetype(m_breaks.size());
    while (low < high) {
        const qsizetype middle = (low + high) / 2;
        if (m_breaks[size_t(middle)] - middle <= position)
            low = middle + 1;
        else
            high = middle;
    }
    return int(position + low);
}

qsizetype ArticleView::articlePosition(int viewPosition) const
{
    const qsizetype shownEnd = m_shown + qsizetype(m_breaks.size());
    const qsizetype position = std::clamp<qsizetype>(viewPosition, 0, shownEnd);
    const auto before = std::lower_bound(m_breaks.begin(), m_breaks.end(), position);
    return position - (before - m_breaks.begin());
}

QString ArticleView::articleText(int from, int to) const
{
    const qsizetype start = articlePosition(from);
    return m_article.mid(start, std::max<qsizetype>(0, articlePosition(to) - start));
}

QString ArticleView::truncationNote(qsizetype shown, qsizetype total)
{
    const QLocale french(QLocale::French);
    return QStringLiteral("Article tronqué à l'affichage : %1 caractères sur %2")
        .arg(french.toString(qlonglong(shown)), french.toString(qlonglong(total)));
}

QMimeData* ArticleView::createMimeDataFromSelection() const
{
    if (!m_mapped)
        return QTextEdit::createMimeDataFromSelection();
    const QTextCursor cursor = textCursor();
    auto* copied = new QMimeData;
    copied->setText(articleText(cursor.selectionStart(), cursor.selectionEnd()));
    return copied;
}

void ArticleView::showRange(qsizetype start, qsizetype length, bool select)
{
    QTextCursor cursor(document());
    cursor.setPosition(viewPosition(start));
    if (select && length > 0)
        cursor.setPosition(viewPosition(std::min(start + length, m_shown) - 1) + 1, QTextCursor::KeepAnchor);
    QTextCursor first(document());
    first.setPosition(viewPosition(start));
    const QRect before = cursorRect(first);
    const bool inView = before.top() >= 0 && before.bottom() <= viewport()->height();
    // Moving the cursor scrolls just enough to show it, on the first or last line.
    setTextCursor(cursor);
    // A range brought into view goes near the middle, with what comes before and after it, unless
    // the article ends first; one already in view stays where it is.
    if (!inView) {
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->value() + cursorRect(first).center().y() - viewport()->height() / 2);
    }
}

void ArticleView::setFoundMarks(const QList<highlighter::Range>& marks)
{
    QList<QTextEdit::ExtraSelection> selections;
    selections.reserve(marks.size());
    QTextCharFormat format;
    format.setBackground(QColor(Qt::yellow));
    for (const highlighter::Range& mark : marks) {
        const qsizetype end = std::min(mark.start + mark.length, m_shown);
        if (mark.start >= m_shown)
            break;
        if (end <= mark.start)
            continue;
        QTextCursor cursor(document());
        cursor.setPosition(viewPosition(mark.start));
        cursor.setPosition(viewPosition(end - 1) + 1, QTextCursor::KeepAnchor);
        selections.append({cursor, format});
    }
    setExtraSelections(selections);
}

QString ArticleView::wordAt(int viewPosition) const
{
    if (!m_mapped)
        return {};
    const QStringView text = QStringView(m_article).first(m_shown);
    const auto separatorAt = [&text](qsizetype i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            return wordboundary::isSeparator(QChar::surrogateToUcs4(c, text.at(i + 1)));
        if (c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate())
            return wordboundary::isSeparator(QChar::surrogateToUcs4(text.at(i - 1), c));
        return wordboundary::isSeparator(c.unicode());
    };
    qsizetype at = articlePosition(viewPosition);
    // A click on the right half of a word's last letter puts the cursor after it.
    if ((at >= text.size() || separatorAt(at)) && at > 0 && !separatorAt(at - 1))
        --at;
    if (at >= text.size() || separatorAt(at))
        return {};
    const BlockEdges blockEdges = edges();
    qsizetype start = at;
    while (start > 0 && !separatorAt(start - 1) && !wordboundary::edgePartsWords(text, blockEdges, start))
        --start;
    qsizetype end = at + 1;
    while (end < text.size() && !separatorAt(end) && !wordboundary::edgePartsWords(text, blockEdges, end))
        ++end;
    return text.mid(start, end - start).toString();
}

void ArticleView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTextEdit::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QTextCursor cursor = cursorForPosition(event->position().toPoint());
    int position = cursor.position();
    // Where two words meet at a block edge, the cursor stands between them: the pointer, left of it,
    // was on the word before.
    if (position > 0 && wordboundary::edgePartsWords(m_article, edges(), articlePosition(position)) &&
        event->position().x() < cursorRect(cursor).left())
        --position;
    const QString word = wordAt(position);
    if (!word.isEmpty())
        emit wordDoubleClicked(word);
}

void ArticleView::contentsChanged()
{
    if (m_showing)
        return;
    m_mapped = false;
    m_article.clear();
    m_shown = 0;
    m_breaks.clear();
}
