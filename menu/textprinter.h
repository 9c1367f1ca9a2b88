#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QPrinter;
class QTextDocument;

// Prints plain text line by line in the printer's default font, page after page, or a document as
// it is laid out; every page ends with "Page N / M", centred in a band of two lines kept free at its
// foot.
namespace textprinter {

// Left edge of every row, top offset of the first row, and space kept free at the page bottom
// under the band of the page number.
inline constexpr int margin = 10;

struct Placement
{
    int page = 0;
    int top = 0;
    bool operator==(const Placement& other) const { return page == other.page && top == other.top; }
};

// Places rows of the given heights: before each row, when y + margin is greater than
// pageHeight - margin, a new page starts and y goes back to 0; the row's top is margin + y, then
// y grows by its height. A row that passes the test is drawn even if it reaches below the limit.
// A page never stays empty: on a page too short for any row, each row gets a page of its own.
QList<Placement> paginate(const QList<int>& rowHeights, int pageHeight);

// The lines a line-by-line reader finds in the text: split at "\n" with a "\r" before it dropped,
// no empty line after a final line end, none at all in an empty text.
QStringList lines(const QString& text);

// Prints the text on the printer, each line wrapped within the page width less the margins. Rows
// are placed by paginate() on the page less the band of the page number.
// The number of pages printed, 0 when the printer cannot be painted on.
int print(const QString& text, QPrinter& printer);

// Prints the document with its formats (the marks of an article among them), laid out anew for the
// page less the margins and the band of the page number. The number of pages printed, 0 when the
// printer cannot be painted on.
int printDocument(QTextDocument& document, QPrinter& printer);

} // namespace textprinter
