// Medians and the results table.
#include "bench/bench_stats.h"

#include <QJsonDocument>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

namespace cvx::bench {

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QJsonObject Figure::toJson() const {
    return {{"measure", measure}, {"scans", scans}, {"screen", screen}, {"value", value},
            {"floor", floor},     {"unit", unit},   {"target", target}, {"met", met},
            {"samples", samples}, {"note", note}};
}

Figure Figure::fromJson(const QJsonObject& o) {
    Figure f;
    f.measure = o.value("measure").toString();
    f.scans = o.value("scans").toString();
    f.screen = o.value("screen").toString();
    f.value = o.value("value").toDouble();
    f.floor = o.value("floor").toDouble();
    f.unit = o.value("unit").toString();
    f.target = o.value("target").toString();
    f.met = o.value("met").toBool(true);
    f.samples = o.value("samples").toInt();
    f.note = o.value("note").toString();
    return f;
}

void emitFigure(const Figure& figure) {
    std::printf("RESULT %s\n",
                QJsonDocument(figure.toJson()).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

QList<Figure> collectFigures(const QByteArray& output) {
    QList<Figure> figures;
    for (const QByteArray& line : output.split('\n'))
        if (line.startsWith("RESULT "))
            figures << Figure::fromJson(QJsonDocument::fromJson(line.mid(7)).object());
    return figures;
}

QString table(const QList<Figure>& figures) {
    QString text;
    QTextStream out(&text);
    const auto row = [&](const QString& a, const QString& b, const QString& c, const QString& d,
                         const QString& e, const QString& f, const QString& g, const QString& h) {
        out << a.leftJustified(20) << b.leftJustified(25) << c.leftJustified(13)
            << d.rightJustified(10) << e.rightJustified(10) << f.rightJustified(8) << "  "
            << g.leftJustified(22) << h << "\n";
    };
    row("measure", "scans", "screen", "median", "floor", "ratio", "target", "");
    for (const Figure& f : figures) {
        const QString value = QString::number(f.value, 'f', f.value < 100 ? 1 : 0) + " " + f.unit;
        const QString floor =
            f.floor > 0 ? QString::number(f.floor, 'f', f.floor < 100 ? 1 : 0) + " " + f.unit
                        : QString();
        const QString ratio = f.floor > 0 ? QString::number(f.value / f.floor, 'f', 2) : QString();
        const QString verdict = f.target.isEmpty() ? f.note
                                : f.met            ? QStringLiteral("met")
                                                   : QStringLiteral("NOT MET");
        row(f.measure, f.scans, f.screen, value, floor, ratio, f.target,
            verdict + (f.target.isEmpty() || f.note.isEmpty() ? QString() : " (" + f.note + ")"));
    }
    return text;
}

} // namespace cvx::bench
