// Medians and the results table of the benchmarks.
#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <vector>

namespace cvx::bench {

// The median of `values` (the mean of the middle two for an even count); 0 when empty.
[[nodiscard]] double median(std::vector<double> values);

// One measured figure: printed by the runs as one line "RESULT {json}" on stdout.
struct Figure {
    QString measure; // "sequential turn", "jump", ...
    QString scans;   // "24 MP", "24 MP progressive", ...
    QString screen;  // "1920x1080", "1920x1080 @2", ...
    double value = 0;
    double floor = 0; // 0 when the figure has no floor
    QString unit = QStringLiteral("ms");
    QString target;  // e.g. "<= 0.25 x floor"; empty for none
    bool met = true; // whether the target holds
    int samples = 0;
    QString note;

    [[nodiscard]] QJsonObject toJson() const;
    [[nodiscard]] static Figure fromJson(const QJsonObject& o);
};

// Prints the figure for the orchestrator to collect.
void emitFigure(const Figure& figure);

// Collects the figures of a run's output.
[[nodiscard]] QList<Figure> collectFigures(const QByteArray& output);

// The table: one line per figure, with the ratio to its floor and the target.
[[nodiscard]] QString table(const QList<Figure>& figures);

} // namespace cvx::bench
