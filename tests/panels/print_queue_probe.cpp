// Prints the page on the screen through the viewer on the system's default printer, answering
// Yes to the confirmation, and reports the announced size for print_queue_test.sh to check
// against the printed file.
#include "tests/support/viewer.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace cvx;
using namespace cvx::test;

namespace {
const QSize kScan(1200, 1800);
} // namespace

TEST(PrintQueue, PageGoesToTheDefaultPrinter) {
    const QString report = qEnvironmentVariable("CARTAVOX_PRINT_REPORT");
    ASSERT_FALSE(report.isEmpty()) << "run through print_queue_test.sh";
    pack::VolumeSpec plan = standardVolume();
    plan.books[0] =
        makeBook(QStringLiteral("01 Lib.01 Antiporta"), 1, QLatin1Char('D'), 1, 2, kScan);
    Viewer v(plan);
    v.platform.systemPrinter = true;
    // The viewer shows the first page of the first book.
    ASSERT_FALSE(v.form->Image1->picture().isNull());
    ASSERT_EQ(v.form->Image1->picture().pixelSize(), kScan);
    // Fitted on the screen it is decoded smaller; the print must take the whole scan.
    ASSERT_LT(v.form->Image1->shownImage().height(), kScan.height());

    v.form->handleEvent([&] { v.form->Command2_Click(); }); // the test platform answers Yes
    ASSERT_EQ(v.platform.boxes.size(), 1u) << v.platform.boxes.back().text.toStdString();
    const ShownBox& box = v.platform.boxes[0];
    ASSERT_EQ(box.title, "LA STAMPA viene effettuata con i seguenti parametri:");
    const QRegularExpression sized(QStringLiteral("DIMENSIONE immagine in mm\\.: (\\d+) x (\\d+)"));
    const QRegularExpressionMatch m = sized.match(box.text);
    ASSERT_TRUE(m.hasMatch()) << box.text.toStdString();
    const QRegularExpressionMatch orientation =
        QRegularExpression(QStringLiteral("SENSO DI STAMPA: (\\w+)")).match(box.text);
    ASSERT_TRUE(orientation.hasMatch()) << box.text.toStdString();
    EXPECT_FALSE(v.platform.ended);

    QFile out(report);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Text));
    out.write(QStringLiteral("%1 %2 %3 %4 %5\n")
                  .arg(m.captured(1), m.captured(2))
                  .arg(kScan.width())
                  .arg(kScan.height())
                  .arg(orientation.captured(1))
                  .toLatin1());
    out.write(box.text.toUtf8().replace('\r', '\n') + '\n');
}
