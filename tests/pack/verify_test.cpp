// verify: each damaged entry or block fault of a packed volume is reported by book and label.
#include "pack/volume/volume_check.h"
#include "tests/pack/pack_fixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
void overwrite(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(offset));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QString faultsOf(const PackBench& bench) {
    return pack::verifyVolume(pack::readVolume(bench.outDir())).join('\n');
}

struct Packed : PackBench {
    Packed() {
        const pack::BuildReport r = build();
        EXPECT_TRUE(r.ok()) << r.errors.join('\n').toStdString();
    }
    [[nodiscard]] QString file(const char* name) const {
        return QDir(outDir()).filePath(QString::fromLatin1(name));
    }
};
} // namespace

TEST(PackVerify, DamagedHeadOfOneEntryIsReportedByBookAndLabel) {
    Packed v;
    // Entry 1 of book 2 follows entry 0, which starts at 10669 (0-based 10668).
    const qint64 entry1 = 10668 + std::max<qint64>(v.scans["text/1.jpg"].size(), 7705);
    overwrite(v.file("dv00002.ex_"), entry1, QByteArray(64, '\0'));
    const QStringList faults = pack::verifyVolume(pack::readVolume(v.outDir()));
    ASSERT_EQ(faults.size(), 1) << faults.join('\n').toStdString();
    EXPECT_TRUE(faults[0].startsWith(
        "libro 2 (dv00002.ex_, \"02 Lib.02 Primo libro\"), pagina 002s (voce 1): "))
        << faults[0].toStdString();
}

TEST(PackVerify, CutArchiveReportsTheEntryPastItsEnd) {
    Packed v;
    QFile archive(v.file("dv00003.ex_"));
    ASSERT_TRUE(archive.resize(archive.size() - 100));
    const QString faults = faultsOf(v);
    EXPECT_TRUE(faults.contains("libro 3 (dv00003.ex_, \"03 Lib.03 Tavole\"), pagina 0005 "
                                "(voce 1): la voce va oltre la fine dell'archivio"))
        << faults.toStdString();
    // Extraction writes the other six pages and names the one it cannot read.
    const pack::ExtractReport r = pack::extractVolume(pack::readVolume(v.outDir()), v.path("x"));
    EXPECT_EQ(r.written, 6);
    ASSERT_EQ(r.problems.size(), 1);
    EXPECT_TRUE(r.problems[0].contains("pagina 0005"));
}

TEST(PackVerify, SlotsWithImpossibleLengthOrPositionAreReported) {
    Packed v;
    // Slot 0's text starts at position 247: position in columns 6-15, length in 16-22.
    overwrite(v.file("dv00001.ex_"), 246 + 15, "0000100");
    // Slot 1's text starts at 247 + 26.
    overwrite(v.file("dv00001.ex_"), 246 + 26 + 5, "00001x0669");
    const QString faults = faultsOf(v);
    EXPECT_TRUE(faults.contains("pagina 0001 (voce 0): la voce è di 100 byte, meno dei 7705 "
                                "necessari"));
    EXPECT_TRUE(faults.contains("pagina 0002 (voce 1): la posizione o la lunghezza della voce "
                                "non sono numeri validi"))
        << faults.toStdString();
}

TEST(PackVerify, BlockAndCoverFaultsAreReported) {
    Packed missingCover;
    ASSERT_TRUE(QFile::remove(missingCover.file("dv00002.ex_")));
    ASSERT_TRUE(QFile::remove(missingCover.file("dv00003.ex_")));
    EXPECT_TRUE(faultsOf(missingCover).contains("copertina: manca l'archivio dv00002.ex_"));

    Packed noProgram;
    ASSERT_TRUE(QFile::remove(noProgram.file("Cartavox.exe")));
    EXPECT_TRUE(faultsOf(noProgram).contains("manca il programma"));

    Packed cutProgram;
    QFile exe(cutProgram.file("Cartavox.exe"));
    ASSERT_TRUE(exe.resize(4000)); // too short to hold the block
    EXPECT_TRUE(faultsOf(cutProgram).contains("non contiene un blocco dei dati valido"));
}
