#include "bench/benchtable.h"

#include <algorithm>

Stats Stats::of(QList<double> samples)
{
    Stats stats;
    stats.samples = static_cast<int>(samples.size());
    if (samples.isEmpty())
        return stats;
    std::sort(samples.begin(), samples.end());
    const qsizetype middle = samples.size() / 2;
    stats.median = samples.size() % 2 ? samples.at(middle) : (samples.at(middle - 1) + samples.at(middle)) / 2;
    stats.min = samples.constFirst();
    stats.max = samples.constLast();
    return stats;
}

double Measurement::ratio() const
{
    return reference.isEmpty() || referenceValue <= 0 ? 0 : judged() / referenceValue;
}

bool Measurement::met() const
{
    return judged() <= (reference.isEmpty() ? aimFactor : aimFactor * referenceValue);
}

QString Measurement::aimText() const
{
    if (bound || told)
        return QStringLiteral("—");
    const QString measured = aimOnMax ? QStringLiteral("max ") : QString();
    if (reference.isEmpty())
        return measured + QStringLiteral("≤ %1 %2").arg(aimFactor).arg(unit);
    return measured + QStringLiteral("≤ %1 × ref.").arg(aimFactor);
}

namespace {

QString number(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1);
}

} // namespace

QString BenchTable::toMarkdown() const
{
    QString out =
        QStringLiteral("| measurement | unit | median | min | max | reference | ref. median | ratio | aim | |\n"
                       "|---|---|---:|---:|---:|---|---:|---:|---|---|\n");
    for (const Measurement& row : m_rows) {
        const bool hasReference = !row.reference.isEmpty();
        out += QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 | %9 | %10 |\n")
                   .arg(row.name, row.unit, number(row.value.median), number(row.value.min), number(row.value.max),
                        hasReference ? row.reference : QStringLiteral("—"),
                        hasReference ? number(row.referenceValue) : QStringLiteral("—"),
                        hasReference ? number(row.ratio()) : QStringLiteral("—"), row.aimText())
                   .arg(row.bound   ? QStringLiteral("bound")
                        : row.told  ? QStringLiteral("—")
                        : row.met() ? QStringLiteral("ok")
                                    : QStringLiteral("MISSED"));
    }
    return out;
}
