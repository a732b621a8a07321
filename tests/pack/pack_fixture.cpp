// The scratch folder of the packing tool's tests.
#include "tests/pack/pack_fixture.h"

#include "tests/support/test_volume.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace cvx::test {

QByteArray noisyJpeg(QSize size, int seed) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(static_cast<quint32>(seed));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xff000000u);
    return jpegBytes(image);
}

QByteArray corpusFile(const QString& name) {
    const QByteArray bytes = contentOf(qEnvironmentVariable("CARTAVOX_CORPUS") + '/' + name);
    EXPECT_FALSE(bytes.isEmpty()) << "missing from CARTAVOX_CORPUS: " << name.toStdString();
    return bytes;
}

namespace {
QJsonValue withValue(const QJsonValue& node, QStringList steps, const QJsonValue& value) {
    if (steps.isEmpty())
        return value;
    const QString step = steps.takeFirst();
    if (node.isArray()) {
        QJsonArray array = node.toArray();
        const int i = step.toInt();
        array[i] = withValue(array[i], steps, value);
        return array;
    }
    QJsonObject object = node.toObject();
    object[step] = withValue(object.value(step), steps, value);
    return object;
}

} // namespace

QJsonObject bookJson(const QString& label, int kind, int firstNumber, const QStringList& pages) {
    return {{"label", label},
            {"kind", kind},
            {"side", "D"},
            {"firstNumber", firstNumber},
            {"pages", QJsonArray::fromStringList(pages)}};
}

void PackBench::setBooks(const QJsonArray& books) {
    setJson(manifest, QStringLiteral("books"), books);
    setJson(manifest, QStringLiteral("cover"), QJsonObject{{"book", 1}, {"page", 1}});
    write(QStringLiteral("manifest.json"), QJsonDocument(manifest).toJson());
}

void setJson(QJsonObject& root, const QString& path, const QJsonValue& value) {
    root = withValue(root, path.split(QLatin1Char('/')), value).toObject();
}

PackBench::PackBench() {
    viewer = QByteArray("\x7f"
                        "ELF fake viewer ",
                        16)
                 .repeated(100);
    write(QStringLiteral("viewer.bin"), viewer);
    auto scan = [&](const QString& name, const QByteArray& bytes) {
        scans.insert(name, bytes);
        write(name, bytes);
        return name;
    };
    const QStringList front = {
        scan("front/a.jpg", makeJpeg(QSize(60, 90), Qt::white, "1")), // below the minimum entry
        scan("front/b.jpg", noisyJpeg(QSize(120, 160), 2))};
    const QStringList sheets = {scan("text/1.jpg", noisyJpeg(QSize(90, 120), 3)),
                                scan("text/2.jpg", noisyJpeg(QSize(90, 120), 4)),
                                scan("text/3.jpg", makeJpeg(QSize(60, 90), Qt::yellow, "3"))};
    const QStringList openings = {scan("wide/1.jpg", noisyJpeg(QSize(200, 120), 5)),
                                  scan("wide/2.jpg", noisyJpeg(QSize(200, 120), 6))};
    manifest = {{"title", "Historia Naturalis"},
                {"secondLine", "C. Plinius Secundus"},
                {"publisher", "Nicolaus Jenson"},
                {"place", "Venezia"},
                {"year", "1472"},
                {"workFolder", "PLINIO"},
                {"cover", QJsonObject{{"book", 2}, {"page", 3}}},
                {"books", QJsonArray{bookJson("01 Lib.01 Antiporta", 1, 1, front),
                                     bookJson("02 Lib.02 Primo libro", 0, 1, sheets),
                                     bookJson("03 Lib.03 Tavole", 2, 1, openings)}}};
}

QString PackBench::path(const QString& name) const {
    return QDir(dir_.path()).filePath(name);
}

void PackBench::write(const QString& name, const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(path(name)).absolutePath());
    QFile f(path(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path(name)));
}

pack::BuildReport PackBench::build() const {
    write(QStringLiteral("manifest.json"), QJsonDocument(manifest).toJson());
    pack::BuildOptions options;
    options.manifestPath = path(QStringLiteral("manifest.json"));
    options.outDir = outDir();
    options.viewerPath = viewerPath();
    return pack::buildVolume(options);
}

PackBench::Run PackBench::tool(QStringList args) const {
    write(QStringLiteral("manifest.json"), QJsonDocument(manifest).toJson());
    args.replaceInStrings(QRegularExpression(QStringLiteral("^@$")), path("manifest.json"));
    QProcess p;
    p.start(QStringLiteral(CARTAVOX_PACK_PATH), args);
    const bool finished = p.waitForFinished(120000);
    return {finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QStringList PackBench::listing() const {
    QStringList names;
    QDirIterator it(dir_.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(dir_.path()).relativeFilePath(it.next());
    names.sort();
    return names;
}

} // namespace cvx::test
