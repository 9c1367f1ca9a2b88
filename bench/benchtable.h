#pragma once

#include <QList>
#include <QString>

// Median, min and max of repeated samples.
struct Stats
{
    double median = 0;
    double min = 0;
    double max = 0;
    int samples = 0;

    static Stats of(QList<double> samples);
};

// One line of the result table: a measured figure, the reference it is compared with, and its aim.
struct Measurement
{
    QString name;
    QString unit; // "ms" or "MB"
    Stats value;
    // The aim is value <= aimFactor x reference median; with no reference name, value <= aimFactor.
    QString reference;
    double referenceValue = 0;
    double aimFactor = 0;
    // Judge the worst sample rather than the median (for what the user feels every time).
    bool aimOnMax = false;
    // What a tool other than the program costs, shown next to the aims it bounds: no aim of its own.
    bool bound = false;
    // A figure shown for what it tells, with no aim.
    bool told = false;

    double judged() const { return aimOnMax ? value.max : value.median; }
    double ratio() const; // to the reference; 0 without one
    bool met() const;
    QString aimText() const;
};

// The figures of one run, printed as one Markdown table.
class BenchTable
{
public:
    void add(Measurement measurement) { m_rows.append(std::move(measurement)); }
    const QList<Measurement>& rows() const { return m_rows; }
    QString toMarkdown() const;

private:
    QList<Measurement> m_rows;
};
