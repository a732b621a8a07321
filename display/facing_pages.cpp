// Facing pages (F6): the opening of the current page over the viewing area.
#include "display/facing_pages.h"

#include "app/bookform.h"
#include "archive/entry_restore.h"
#include "archive/label_rules.h"
#include "display/zone_geometry.h"
#include "platform/files.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <algorithm>

namespace cvx {

namespace {
const QString kChoiceFile = QStringLiteral("facciate.cfg");
} // namespace

FacingPages::FacingPages(BookForm& form, QWidget* area, const QColor& background)
    : form_(form), view_(std::make_unique<PictureBox>(area, background)) {
    // The wheel and clicks go through to the viewing area and the zones, as over the page.
    view_->widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (auto& page : pages_) {
        page = std::make_unique<ImageControl>(view_->widget());
        page->setEnabled(false);
        page->setStretch(true);
    }
    view_->setVisible(false);
}

bool FacingPages::applies() const {
    const int kind = form_.place.NumberingKind;
    return kind == labels::Sheets || kind == labels::Pages;
}

bool FacingPages::turnsByOpening() const {
    return chosen_ && applies() && form_.view.Magnified == False;
}

std::vector<openings::Place> FacingPages::places() const {
    return openings::placesOf(form_.place.NumberingKind, form_.place.FirstSide.text(),
                              form_.place.FirstNumber, form_.List2.items());
}

openings::Opening FacingPages::currentOpening() const {
    return openings::openingAt(places(), form_.place.CurrentPageIndex);
}

void FacingPages::toggle() {
    // In a book of openings F6 only changes the choice, which the next book of pages follows.
    const bool on = applies() ? !shown_ : !chosen_;
    chosen_ = on;
    remember();
    if (!on)
        return leave();
    if (applies() && form_.view.Magnified == True) {
        // The whole page first, as Shift gives it back from the magnified one.
        form_.view.Magnified = False;
        form_.view.PanStep = 0;
        form_.LENTE0();
    }
    showCurrent();
}

void FacingPages::showCurrent() {
    if (!turnsByOpening())
        return leave();
    openings::Opening o = currentOpening();
    // The selector and the bookmark name the opening's left page.
    if (o.pair() && form_.place.CurrentPageIndex == o.right) {
        form_.Combo1->setListIndex(o.left);
        o = currentOpening();
    }
    bool any = false;
    for (const int side : {0, 1}) {
        const int index = side == 0 ? o.left : o.right;
        const bool onScreen = index >= 0 && showPage(side, index);
        pages_[side]->setVisible(onScreen);
        any = any || onScreen;
    }
    if (!any)
        return leave();
    opening_ = o;
    book_ = form_.Combo2->ListIndex();
    view_->setGeometry(0, 0, form_.SCHERMO->Width(), form_.SCHERMO->Height());
    view_->setVisible(true);
    shown_ = true;
    placeTurningZones();
    form_.readAround();
}

bool FacingPages::showPage(int side, int index) {
    const std::optional<PageKey> key = form_.pageKeyAt(index);
    if (!key)
        return false;
    files::Read read = files::readAt(key->archive, key->position, key->length);
    if (read.status != files::Status::Ok || read.data.size() != key->length ||
        !archive::restoreEntry(read.data))
        return false;
    const Picture header = Picture::fromBytes(read.data, key->archive, nullptr);
    if (header.isNull())
        return false;
    const shown::Placement p =
        openings::facingPlaced(header.naturalTwips(), form_.viewingArea(), side == 1);
    Picture picture = form_.readAhead().take(*key, read.data, p.pixels);
    if (picture.isNull())
        picture = header.decodedAt(p.pixels, QThread::idealThreadCount());
    if (picture.scaled(p.pixels).isNull())
        return false;
    ImageControl& image = *pages_[side];
    image.setGeometry(p.left, p.top, p.width, p.height);
    image.setPicture(picture);
    return true;
}

void FacingPages::placeTurningZones() {
    // The forward and back strips over the opening's outer edges, by the zones' own rule; a page
    // alone keeps the strip of its missing side out there too, clear of the lens in the middle.
    double half = 0;
    for (const auto& page : pages_)
        if (page->Visible())
            half = std::max(half, page->Width());
    const double left = openings::centreLine(form_.SCHERMO->Width()) - half;
    for (const int i : {0, 1}) {
        const zones::Frame frame{2 * half, left, 2 * half, form_.SCHERMO->Height(),
                                 form_.SCHERMO->Top()};
        const zones::Rect r = zones::zoneRect(i, frame);
        form_.Image8[i]->setGeometry(r.left, r.top, r.width, r.height);
    }
}

void FacingPages::leave() {
    if (!shown_)
        return;
    shown_ = false;
    view_->setVisible(false);
    for (auto& page : pages_)
        page->setPicture(Picture()); // their decodes' memory goes with them
    opening_ = {};
    book_ = -1;
    form_.IMMAGIN8();
}

void FacingPages::follow() {
    if (shown_ &&
        (book_ != form_.Combo2->ListIndex() || form_.place.CurrentPageIndex != opening_.first()))
        leave();
}

void FacingPages::turn(bool forward) {
    // From the opening's last page forward, from its first back: the page turning procedures
    // then cross books, say so and stop at the volume's end exactly as for one page.
    const openings::Opening o = currentOpening();
    if (const int from = forward ? o.last() : o.first(); from >= 0) {
        form_.place.CurrentPageIndex = static_cast<std::int16_t>(from);
        form_.Combo1->setText(form_.Combo1->List(from));
    }
    forward ? form_.PagAvanti() : form_.PagIndietro();
    showCurrent();
}

std::vector<PageKey> FacingPages::around() const {
    std::vector<PageKey> keys;
    const auto add = [&](int index) {
        if (const auto key = form_.pageKeyAt(index);
            key && std::find(keys.begin(), keys.end(), *key) == keys.end())
            keys.push_back(*key);
    };
    const std::vector<openings::Place> all = places();
    const openings::Opening o = openings::openingAt(all, form_.place.CurrentPageIndex);
    if (o.first() < 0)
        return keys;
    if (o.pair())
        add(o.left == form_.place.CurrentPageIndex ? o.right : o.left);
    const int book = form_.Combo2->ListIndex();
    // Another book's pages, by their places in its directory (the last counted from -1).
    const auto addOf = [&](int other, std::initializer_list<int> places) {
        QString path;
        const QStringList texts = form_.bookDirectory(other, true, &path);
        const auto count = static_cast<int>(texts.size());
        for (const int place : places) {
            const int i = place < 0 ? count + place : place;
            if (i < 0 || i >= count)
                continue;
            if (const auto key = slotPageKey(path, texts[i]);
                key && std::find(keys.begin(), keys.end(), *key) == keys.end())
                keys.push_back(*key);
        }
    };
    const openings::Opening next = openings::openingAt(all, o.last() + 1);
    if (next.first() >= 0) {
        add(next.first());
        add(next.last());
    } else if (book >= 0 && book + 1 < form_.Combo2->ListCount()) {
        addOf(book + 1, {0, 1}); // its first page, and the right one beside it if there is one
    }
    // Back, the previous opening's last page is shown on the way to its first; past a book's
    // first page the previous book opens at its first page, then at its last, then at the left
    // page beside that.
    const openings::Opening previous = openings::openingAt(all, o.first() - 1);
    if (previous.first() >= 0) {
        add(previous.last());
        add(previous.first());
    } else if (book > 0) {
        addOf(book - 1, {-1, -2, 0});
    }
    return keys;
}

QString FacingPages::announcement() const {
    if (!shown_ || !opening_.pair())
        return {};
    return QStringLiteral("Libro %1, pagine %2 e %3")
        .arg(form_.Combo2->List(form_.Combo2->ListIndex()), form_.Combo1->List(opening_.left),
             form_.Combo1->List(opening_.right));
}

void BookForm::turnPage(bool forward) {
    if (facing_->turnsByOpening())
        return facing_->turn(forward);
    forward ? PagAvanti() : PagIndietro();
}

QString FacingPages::choiceFile() const {
    return QFileInfo(form_.WorkImagePath).dir().filePath(kChoiceFile);
}

void FacingPages::remember() const {
    // A choice that cannot be kept is only forgotten at the next start.
    (void)files::replaceAtomically(choiceFile(), chosen_ ? "1\n" : "0\n");
}

void FacingPages::recall() {
    // Missing, unreadable, not a small regular file or anything but "1": single pages.
    const files::Read read = files::readSmallFile(choiceFile(), 8);
    chosen_ = read.status == files::Status::Ok && read.data.trimmed() == "1";
    if (chosen_)
        showCurrent();
}

} // namespace cvx
