// A scratch folder for the packing tool's tests: page scans written by the test, a manifest
// built as JSON, and a build into a volume folder beside them.
#pragma once

#include "pack/volume/volume_builder.h"
#include "tests/support/test_volume.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QSize>
#include <QTemporaryDir>

namespace cvx::test {

// A JPEG of `size` filled with noise from `seed`: large for its size, so that it needs no padding.
[[nodiscard]] QByteArray noisyJpeg(QSize size, int seed);

// The bytes of a file of the real-world corpus (CARTAVOX_CORPUS), by its path there; a test
// failure when it is missing.
[[nodiscard]] QByteArray corpusFile(const QString& name);

// A book of a manifest whose first page is on the right.
[[nodiscard]] QJsonObject bookJson(const QString& label, int kind, int firstNumber,
                                   const QStringList& pages);

// Sets the value at `path` ("books/1/label", "cover/page") in a JSON object, creating nothing:
// every step but the last must exist.
void setJson(QJsonObject& root, const QString& path, const QJsonValue& value);

class PackBench {
  public:
    // Three books: pages (kind 1, D, 1) with a small JPEG and a large one; sheets (kind 0, D, 1)
    // of three entries; openings (kind 2, D, 1) of two wide entries.
    PackBench();

    [[nodiscard]] QString path(const QString& name) const;
    [[nodiscard]] QString outDir() const { return path(QStringLiteral("volume")); }

    // Writes `bytes` to `name` under the scratch folder, creating folders.
    void write(const QString& name, const QByteArray& bytes) const;

    // The manifest's books replaced, the cover their first page; manifest.json written.
    void setBooks(const QJsonArray& books);

    // Writes manifest.json and builds it into outDir() with the fake viewer.
    [[nodiscard]] pack::BuildReport build() const;

    // Writes manifest.json and runs the tool with `args` ("@" stands for the manifest's path).
    struct Run {
        int status = -1;
        QString out, err;
    };
    [[nodiscard]] Run tool(QStringList args) const;

    // Names of everything in the scratch folder, hidden entries included, recursively.
    [[nodiscard]] QStringList listing() const;

    QJsonObject manifest;
    QHash<QString, QByteArray> scans; // page file name -> the bytes written
    QByteArray viewer;                // the fake viewer executable
    [[nodiscard]] QString viewerPath() const { return path(QStringLiteral("viewer.bin")); }

  private:
    QTemporaryDir dir_;
};

} // namespace cvx::test
