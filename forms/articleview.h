#pragma once

#include "corpus/elementroles.h"
#include "forms/articledisplay.h"
#include "search/highlighter.h"

#include <QList>
#include <QString>
#include <QTextEdit>
#include <memory>
#include <vector>

class ElementIndex;

// A read-only view of one article, of any size. The toolkit lays out a paragraph in time that grows
// with its length (with the square of an unbreakable word's), and lays out the whole document when
// asked for its end, so the view shows a display copy: the first `shownLimit` characters at most,
// with a note when the article is longer, no paragraph longer than `paragraphLimit` (a longer line
// is broken at its last white space) and no word longer than `wordLimit` (a break is put into a
// longer one). With roles, the article shows with its structure (see ArticleDisplay); without, as
// plain text. Positions, marks and copied text are the article's own: "\r\n" shows as one break
// without moving any position, and what the view puts in is never copied, searched or marked.
class ArticleView : public QTextEdit
{
    Q_OBJECT
public:
    static constexpr qsizetype shownLimit = 250000;
    static constexpr qsizetype paragraphLimit = 4096;
    static constexpr qsizetype wordLimit = 256;

    explicit ArticleView(QWidget* parent = nullptr);

    // How the articles shown from now on are formatted; none shows them as plain text.
    void setRoles(std::shared_ptr<const ElementRoles> roles);
    bool isFormatted() const { return m_roles != nullptr; }

    // Shows `text`, whose block edges are `edges`, with the `marks` (positions in `text`, sorted) red,
    // bold and underlined; the marks beyond the part shown are not drawn. The article is `number` of
    // `index`, whose elements format it, when given.
    void showArticle(const QString& text, const BlockEdges& edges, const QList<highlighter::Range>& marks = {},
                     const ElementIndex* index = nullptr, int number = -1);
    void clearArticle();

    // How many characters of the article the view shows.
    qsizetype shownLength() const { return m_shown; }
    // How many characters of `text` it would show.
    static qsizetype shownLengthOf(const QString& text);
    // Where a position of the article (up to the part shown) stands in the view, and back.
    int viewPosition(qsizetype articlePosition) const;
    qsizetype articlePosition(int viewPosition) const;
    // The article's own characters between two positions of the view.
    QString articleText(int from, int to) const;

    // The note shown after an article that is cut.
    static QString truncationNote(qsizetype shown, qsizetype total);

    // The article shown, all of it (the view shows its first shownLength() characters).
    const QString& article() const { return m_article; }
    // Its block edges.
    BlockEdges edges() const { return {m_edges.data(), quint32(m_edges.size())}; }
    // Puts the cursor on the article's characters [start, start + length), selecting them when
    // `select` is set, and scrolls them into view, a third down the page, when they are not in it.
    void showRange(qsizetype start, qsizetype length, bool select);
    // Draws the `marks` (positions in the article) on a yellow ground, over the red marks; an empty
    // list takes them away.
    void setFoundMarks(const QList<highlighter::Range>& marks);
    // The word of the article at a position of the view, by the program's rule of whole words (a
    // block edge ends it); empty on a separator. At an edge between two words, the word after it.
    QString wordAt(int viewPosition) const;

signals:
    // The user double-clicked this word of the article.
    void wordDoubleClicked(const QString& word);

protected:
    // What a copy or a drag takes: the article's characters, not the display copy's.
    QMimeData* createMimeDataFromSelection() const override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Text set by any other way than showArticle has no article behind it.
    void contentsChanged();

    QString m_article;            // shares the article's characters
    std::vector<quint32> m_edges; // a copy: the view may outlive the content they came from
    qsizetype m_shown = 0;
    ArticleDisplay m_display;
    std::shared_ptr<const ElementRoles> m_roles;
    bool m_showing = false;
    bool m_mapped = false;
};
