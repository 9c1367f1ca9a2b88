#include "menu/textprinter.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <memory>
#include <vector>

namespace textprinter {

namespace {

std::unique_ptr<QTextLayout> layOut(const QString& line, const QFont& font, QPaintDevice* device, int width)
{
    auto layout = std::make_unique<QTextLayout>(line, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->beginLayout();
    for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) {
        row.setLineWidth(std::max(width, 1));
        row.setPosition(QPointF(0, 0)); // each row is drawn on its own
    }
    layout->endLayout();
    return layout;
}

// The band at the foot of each page: a free line, then the page number.
int footerHeight(const QPainter& painter)
{
    return 2 * painter.fontMetrics().lineSpacing();
}

void drawFooter(QPainter& painter, const QPrinter& printer, int page, int pageCount)
{
    const int lineSpacing = painter.fontMetrics().lineSpacing();
    painter.drawText(QRect(margin, printer.height() - margin - lineSpacing, printer.width() - 2 * margin, lineSpacing),
                     Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Page %1 / %2").arg(page + 1).arg(pageCount));
}

} // namespace

QList<Placement> paginate(const QList<int>& rowHeights, int pageHeight)
{
    QList<Placement> placements;
    placements.reserve(rowHeights.size());
    int page = 0;
    int y = 0;
    bool pageEmpty = true;
    for (const int height : rowHeights) {
        if (!pageEmpty && y + margin > pageHeight - margin) {
            ++page;
            y = 0;
        }
        placements.append({page, margin + y});
        y += height;
        pageEmpty = false;
    }
    return placements;
}

QStringList lines(const QString& text)
{
    if (text.isEmpty())
        return {};
    QStringList result = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        result.removeLast();
    for (QString& line : result) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return result;
}

int print(const QString& text, QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const QFont font = painter.font();
    const int lineSpacing = painter.fontMetrics().lineSpacing();
    const int width = printer.width() - 2 * margin;

    // Every row of every line, in order, then where each goes.
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    struct Row
    {
        const QTextLayout* layout;
        int line;
    };
    std::vector<Row> rows;
    for (const QString& line : lines(text)) {
        layouts.push_back(layOut(line, font, &printer, width));
        const QTextLayout* layout = layouts.back().get();
        for (int i = 0; i < std::max(layout->lineCount(), 1); ++i)
            rows.push_back({layout, i});
    }
    const QList<Placement> placements =
        paginate(QList<int>(qsizetype(rows.size()), lineSpacing), printer.height() - footerHeight(painter));
    const int pageCount = placements.isEmpty() ? 1 : placements.constLast().page + 1;

    int page = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const Placement& at = placements[qsizetype(i)];
        while (page < at.page) {
            drawFooter(painter, printer, page, pageCount);
            printer.newPage();
            ++page;
        }
        if (rows[i].line < rows[i].layout->lineCount())
            rows[i].layout->lineAt(rows[i].line).draw(&painter, QPointF(margin, at.top));
    }
    drawFooter(painter, printer, page, pageCount);
    painter.end();
    return pageCount;
}

int printDocument(QTextDocument& document, QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const QRectF body(margin, margin, std::max(printer.width() - 2 * margin, 1),
                      std::max(printer.height() - 2 * margin - footerHeight(painter), 1));
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    layout->setPaintDevice(&printer);
    document.setPageSize(body.size());
    const int pageCount = std::max(document.pageCount(), 1);
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0)
            printer.newPage();
        // The part of the document on this page, drawn in the page's body.
        const QRectF shown(0, page * body.height(), body.width(), body.height());
        painter.save();
        painter.translate(body.left(), body.top() - shown.top());
        painter.setClipRect(shown);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = shown;
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&painter, context);
        painter.restore();
        drawFooter(painter, printer, page, pageCount);
    }
    painter.end();
    return pageCount;
}

} // namespace textprinter
