#include "forms/articleview.h"

#include "corpus/elementindex.h"
#include "search/wordboundary.h"

#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <array>

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

QTextCharFormat roleFormat(ElementRole role)
{
    QTextCharFormat format;
    switch (role) {
    case ElementRole::Title:
        format.setFontWeight(QFont::Bold);
        format.setProperty(QTextFormat::FontSizeAdjustment, 1);
        break;
    case ElementRole::Italic:
        format.setFontItalic(true);
        break;
    case ElementRole::Bold:
        format.setFontWeight(QFont::Bold);
        break;
    case ElementRole::SmallCaps:
        format.setFontCapitalization(QFont::SmallCaps);
        break;
    case ElementRole::Underline:
        format.setFontUnderline(true);
        break;
    case ElementRole::Superscript:
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        break;
    case ElementRole::Subscript:
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        break;
    default:
        break;
    }
    return format;
}

// A small heading, apart from the text: it is the view's, not the article's.
QTextCharFormat headingFormat()
{
    QTextCharFormat format;
    format.setFontWeight(QFont::DemiBold);
    format.setForeground(QColor(0x55, 0x55, 0x55));
    format.setProperty(QTextFormat::FontSizeAdjustment, -1);
    return format;
}

// The file's indentation before the first line: in place, but taking no room.
QTextCharFormat hiddenFormat()
{
    QTextCharFormat format;
    format.setFontPointSize(1);
    return format;
}

} // namespace

ArticleView::ArticleView(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    document()->setUndoRedoEnabled(false);
    connect(document(), &QTextDocument::contentsChange, this, &ArticleView::contentsChanged);
}

void ArticleView::setRoles(std::shared_ptr<const ElementRoles> roles)
{
    m_roles = std::move(roles);
}

void ArticleView::showArticle(const QString& text, const BlockEdges& edges, const QList<highlighter::Range>& marks,
                              const ElementIndex* index, int number)
{
    const qsizetype shown = shownLengthOf(text);
    ArticleDisplay display =
        m_roles && index ? ArticleDisplay::formatted(text, shown, paragraphLimit, wordLimit, *index, number, *m_roles)
                         : ArticleDisplay::plain(text, shown, paragraphLimit, wordLimit);

    m_showing = true;
    // Whatever was marked under the cursor must not colour the next text.
    setCurrentCharFormat(QTextCharFormat());
    // The text and its marks go in as one edit, so that the document is laid out once.
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    setPlainText(display.text());
    m_article = text;
    m_edges.assign(edges.begin(), edges.end());
    m_shown = shown;
    m_display = std::move(display);
    // Each format made once: an article may hold thousands of styled elements and headings.
    static const std::array<QTextCharFormat, size_t(ElementRole::LineBreak) + 1> roleFormats = [] {
        std::array<QTextCharFormat, size_t(ElementRole::LineBreak) + 1> formats;
        for (size_t role = 0; role < formats.size(); ++role)
            formats[role] = roleFormat(ElementRole(role));
        return formats;
    }();
    static const QTextCharFormat heading = headingFormat();
    for (const ArticleDisplay::Styled& styled : m_display.styled()) {
        cursor.setPosition(int(styled.range.start));
        cursor.setPosition(int(styled.range.end), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(roleFormats[size_t(styled.role)]);
    }
    if (const ArticleDisplay::Range leading = m_display.leadingSpace(); leading.end > leading.start) {
        cursor.setPosition(int(leading.start));
        cursor.setPosition(int(leading.end), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(hiddenFormat());
    }
    for (const ArticleDisplay::Range& range : m_display.headings()) {
        cursor.setPosition(int(range.start));
        cursor.setPosition(int(range.end), QTextCursor::KeepAnchor);
        cursor.setCharFormat(heading);
    }
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
    return int(m_display.viewPosition(std::clamp<qsizetype>(articlePosition, 0, m_shown)));
}

qsizetype ArticleView::articlePosition(int viewPosition) const
{
    return std::clamp<qsizetype>(m_display.articlePosition(std::max(viewPosition, 0)), 0, m_shown);
}

QString ArticleView::articleText(int from, int to) const
{
    const qsizetype start = articlePosition(from);
    return m_article.mid(start, std::max<qsizetype>(0, articlePosition(to) - start));
}

qsizetype ArticleView::shownLengthOf(const QString& text)
{
    qsizetype shown = std::min(text.size(), shownLimit);
    // A cut never parts the two halves of a character.
    if (shown < text.size() && shown > 0 && text.at(shown - 1).isHighSurrogate())
        --shown;
    return shown;
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
    // A heading is the view's own: no word of the article.
    if (m_display.isPutIn(position) && m_display.text().at(position) != u'\n' &&
        m_display.text().at(position) != QChar::LineSeparator)
        return;
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
    m_display = ArticleDisplay();
}
