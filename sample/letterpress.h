// Letterpress of the sample pages: justified columns of old Italian, running heads, the page
// or sheet number in the outer top corner, chapter headings with a large red initial,
// catchwords and signature marks; and the title page and index that front and close a volume.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

namespace cvx::sample {

// The old-style serif of the sample volume at `pixelSize`, at least 3 pixels.
[[nodiscard]] QFont bookFont(double pixelSize, bool italic = false);

// The margins of the type area inside `page`: wider on the outer side.
[[nodiscard]] QRect typeArea(const QRect& page, bool rightPage);

struct TextPage {
    QString runningHead; // centred above the text
    QString number;      // printed in the outer top corner; empty for none
    bool rightPage = true;
    QString heading; // a chapter heading opening the page, with a large initial
    int columns = 1;
    QString signature; // signature mark at the foot ("B ij"); empty for none
    quint64 seed = 0;
};

// Paints a page of text onto paper already laid down.
void paintTextPage(QImage& image, const QRect& page, const TextPage& plan);

// The running head line: the head centred, the number in the outer corner.
void paintHeadLine(QImage& image, const QRect& page, const QString& head, const QString& number,
                   bool rightPage);

// The volume's title page, with the printer's device in the middle.
void paintTitlePage(QImage& image, const QRect& page, quint64 seed);

// A page of the index of plants, in two columns.
void paintIndexPage(QImage& image, const QRect& page, const QString& number, bool rightPage,
                    int firstEntry);

} // namespace cvx::sample
