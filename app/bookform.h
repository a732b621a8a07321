// The viewer's one window. Its state is the form-level variables below and the controls that
// serve as tables; its procedures take no arguments and work on that shared state. Each group
// of members is defined in the file named in its heading.
#pragma once

#include "app/text_rules.h"
#include "display/read_ahead.h"
#include "platform/controls.h"
#include "platform/data_lists.h"
#include "platform/image_control.h"
#include "platform/key_preview.h"
#include "platform/platform.h"
#include "platform/selector.h"
#include "platform/timer.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace cvx::fit {
struct Fit;
}

namespace cvx {

class BookForm : public QWidget {
public:
    explicit BookForm(Platform& platform, QWidget* parent = nullptr);
    ~BookForm() override;

    // ---- app/form_load.cpp: start-up sequence --------------------------------------------
    void Form_Load();

    // ---- app/product_data.cpp: product data block -----------------------------------------
    void CARICODATI();

    // ---- app/working_folder.cpp -----------------------------------------------------------
    void INSTALLO();

    // ---- app/fatal_exits.cpp --------------------------------------------------------------
    [[noreturn]] void ERRORE();
    [[noreturn]] void USCITA1();

    // ---- archive/book_loading.cpp ---------------------------------------------------------
    void Ricupero();
    void RIClistpg();

    // ---- archive/page_lookup.cpp ----------------------------------------------------------
    void TrovoPagina();
    void TrovoLibro();
    void CERCOPAGINA();

    // ---- archive/book_activation.cpp ------------------------------------------------------
    void ATTIVAPAG();

    // ---- archive/page_restore.cpp ---------------------------------------------------------
    void DECDPAG();

    // ---- display/page_loading.cpp ---------------------------------------------------------
    void CARICOPAG();
    // The pages read ahead of the reader, decoded in the background.
    [[nodiscard]] ReadAhead& readAhead() { return *readAhead_; }

    // ---- display/hot_zones.cpp ------------------------------------------------------------
    void IMMAGIN8();

    // ---- display/magnifier.cpp ------------------------------------------------------------
    void LENTE1();
    void LENTE0();

    // ---- display/panning.cpp --------------------------------------------------------------
    void PAGSU();
    void PAGGIU();

    // ---- navigation/page_turning.cpp ------------------------------------------------------
    void PagAvanti();
    void PagIndietro();
    void AVANTLIBRO();
    void INDIETLIBRO();

    // ---- navigation/mouse_dispatch.cpp ----------------------------------------------------
    void Image8_Click(std::int16_t index);

    // ---- navigation/keyboard.cpp ----------------------------------------------------------
    void Form_KeyDown(std::int16_t keyCode, std::int16_t shift);

    // ---- navigation/selectors.cpp ---------------------------------------------------------
    void Combo1_Click();
    void Combo1_KeyPress(int& keyAscii);
    void Combo2_Click();
    void Combo2_KeyPress(int& keyAscii);
    void Picture5_Click();

    // ---- panels/printing.cpp --------------------------------------------------------------
    void Command2_Click();
    void Image10_Click();

    // ---- panels/instructions.cpp ----------------------------------------------------------
    void Image2_Click(std::int16_t index);
    void Image14_Click();
    void Option1_Click(std::int16_t index);

    // ---- panels/closing.cpp ---------------------------------------------------------------
    void Command1_Click();
    void Image11_Click();
    void Timer1_Timer();
    void Image13_Click(std::int16_t index);
    // A request to close the window from outside it: `unloadMode` 0 the window manager's close,
    // 2 the session ending. Sets `cancel`: the window closes only through the closing panel.
    void Form_QueryUnload(std::int16_t& cancel, std::int16_t unloadMode);

    // ---- panels/banner.cpp ----------------------------------------------------------------
    void Image15_Click();
    void Timer2_Timer();
    void Picture9_Click();

    // ---- Form-level variables, in their declared order -------------------------------------
    QString WorkImagePath;
    QString BookmarkBook;
    QString ScratchText;
    QString CoverEntryNumber;
    QString ProgramFolder;
    FixedText<4> PageLabel;
    FixedText<4> BookmarkPage;
    FixedText<1> FirstSide;
    QString MessageText;
    QString ScreenInfoText;
    QString NoticeText;
    QString BookmarkPath;
    QString EntryName;
    QString ArchivePath;
    QString WorkFolderName;
    QString CoverArchiveName;
    QString CoverEntryName;
    QByteArray PageData;
    QString PageOffset;
    QString PageLength;
    QString SlotText;
    QByteArray DecodedHead, PageTail, PageHead;
    std::int32_t TailLength = 0;
    int ByteDifference = 0, DecodedChar = 0, HeadCode = 0, TailCode = 0;
    int CurrentBookIndex = 0;
    int CountdownTicks = 0;
    std::int16_t BannerTicks = 0;
    double ProductBase = 0;
    std::int32_t ReadPosition = 0;
    Flag Magnified = False;
    std::int16_t PanStep = 0;
    std::int16_t BookSearchIndex = 0;
    int LoopIndex = 0;
    int PageSearchIndex = 0;
    int DecodeIndex = 0;
    std::int16_t CurrentPageIndex = 0;
    std::int16_t NumberingKind = 0;
    float PanStepHeight = 0;
    std::int16_t FirstNumber = 0;
    std::int16_t PageNumber = 0;
    std::int16_t TypedNumber = 0;
    std::int16_t LastArchiveIndex = 0;
    double PageWidth = 0;
    double PageHeight = 0;
    float WidthRatio = 0;
    float HeightRatio = 0;
    float PageScale = 0;

    // ---- Controls (app/form_design.cpp creates them at their design places) ----------------
    // Tables
    FileListBox File2{QStringLiteral("dv?????.ex_")};
    HiddenList List1;
    HiddenList List2;
    DirListBox Dir1;
    DirListBox Dir2;

    // Viewing area and what lies in it, bottom to top: Image1, Image8(5..0), Image6, Image5,
    // Image8(6), Image8(7).
    std::unique_ptr<PictureBox> SCHERMO;
    std::unique_ptr<ImageControl> Image1;
    std::array<std::unique_ptr<ImageControl>, 8> Image8;
    std::unique_ptr<ImageControl> Image5, Image6;

    // Header band and tool band
    std::unique_ptr<PictureBox> Picture8;
    std::array<std::unique_ptr<Label>, 2> Label5;
    std::unique_ptr<Label> Label7;
    std::unique_ptr<PictureBox> Picture3;
    std::unique_ptr<Label> Label8;
    std::unique_ptr<Selector> Combo1, Combo2;
    std::unique_ptr<PictureBox> Picture5;
    std::unique_ptr<CommandButton> Command1, Command2;
    std::unique_ptr<ImageControl> Image10, Image11, Image15;
    std::array<std::unique_ptr<ImageControl>, 2> Image2;

    // Instructions panel
    std::unique_ptr<PictureBox> Picture1, Picture2, Picture6, Picture10;
    std::unique_ptr<ImageControl> Image3, Image4, Image14;
    std::array<std::unique_ptr<ImageControl>, 6> Image7;
    std::unique_ptr<Label> Label2, Label3, Label4, Label10, Label12;
    std::unique_ptr<Frame> Frame1, Frame2;
    std::array<std::unique_ptr<OptionButton>, 8> Option1;

    // Closing panel
    std::unique_ptr<PictureBox> Picture7;
    std::array<std::unique_ptr<ImageControl>, 3> Image13;
    std::unique_ptr<Shape> Shape2;
    std::unique_ptr<Label> Label11;
    Timer Timer1;

    // Credits banner
    std::unique_ptr<PictureBox> Picture9;
    std::array<std::unique_ptr<Label>, 5> Label1;
    std::array<std::unique_ptr<Label>, 3> Label6; // 0 "nel", 1 "Stampato in", 2 "Editore"
    std::unique_ptr<Shape> Shape1;
    std::unique_ptr<Label> Label9;
    Timer Timer2;

    // Printing: a hidden image control, so it takes the size of the picture given to it
    std::unique_ptr<ImageControl> Picture4;

    // ---- The window itself (app/form_window.cpp) -------------------------------------------
    [[nodiscard]] double Width() const { return formWidth_; }
    [[nodiscard]] double Height() const { return formHeight_; }
    void MoveForm(double left, double top);
    void setFormSize(double width, double height);
    // Makes the window visible and active.
    void showWindow();
    // The key-preview flag set at the end of start-up and after every change of book.
    void setKeyPreview(bool on) { keyPreview_->setEnabled(on); }
    [[nodiscard]] bool keyPreview() const { return keyPreview_->enabled(); }
    // Moves the keyboard focus to the viewing area.
    void focusViewingArea();

    [[nodiscard]] Platform& platform() const { return platform_; }

    // Runs `handler` as one event of the window (see Dispatch). A handler called from inside
    // another (a selector's click run by an assignment) simply runs. When an event meets a
    // PageUnreadable, its message is shown and the reading place as it was before the event is
    // put back, so the viewer stays on the page it showed.
    void handleEvent(const std::function<void()>& handler);

protected:
    // A close request of the window manager (Alt+F4, the close button) runs Form_QueryUnload.
    void closeEvent(QCloseEvent* event) override;

private:
    // ---- app/form_design.cpp ---------------------------------------------------------------
    void createControls();
    void createViewingArea();
    void createBands();
    void createInstructionsPanel();
    void createClosingPanel();
    void createBanner();
    void connectHandlers();
    void decorate(std::unique_ptr<Control> control);

    // ---- app/screen_layout.cpp: steps of Form_Load -----------------------------------------
    void checkScreen();
    void layoutFirstGroup();
    void layoutSecondGroup();

    // ---- panels/instructions.cpp: step 12 of Form_Load, opening and closing the panel ------
    void fillInstructionTexts();
    void openInstructions();
    void closeInstructions();

    // ---- archive/book_loading.cpp: steps of Ricupero -----------------------------------------
    void takeBookmark();
    void selectRememberedBook();
    void probeFirstEntry();
    void prepareCover();
    void loadCover();
    void openRememberedPage();

    // ---- archive/book_activation.cpp: a book's numbering fields and page labels ---------------
    void takeNumbering(int book);
    void fillPageLabels();

    // ---- archive/page_lookup.cpp ------------------------------------------------------------
    // Has the page the typed number asks for in the book at ArchivePath decoded in the
    // background while the event opens that book at its first page on the way.
    void expectTypedPage();

    // ---- display/page_loading.cpp: an entry's picture and the working image -------------------
    // Reads the entry at PageOffset/PageLength of `archiveName` into PageData, restores it and
    // checks that it is a picture; throws PageUnreadable(failure) otherwise.
    Picture readEntryPicture(const QString& archiveName, const QString& failure);
    // Replaces the working image with PageData; throws PageUnreadable naming the file.
    void writeWorkImage();
    // What this window last wrote into the working image (none before the first write): put
    // back after a failed write without reading the file first.
    std::optional<QByteArray> workImageHeld_;
    // Gives `image` the picture at its fitted size (Stretch on) and records the fit in the
    // form's fit variables; the caller places it.
    void showFitted(ImageControl& image, const Picture& picture, const fit::Fit& f);
    // The entry of the page being loaded or shown, and what its shown size depends on.
    [[nodiscard]] PageKey shownPageKey() const;
    [[nodiscard]] PageView pageView() const;
    // `read` decoded at `pixels`: the decode read ahead from the same bytes when there is one,
    // otherwise `read` decoded now and kept for the page shown.
    [[nodiscard]] Picture readyPicture(const Picture& read, QSize pixels);
    // Has the pages a turn can show next prepared in the background, nearest first.
    void readAround();
    [[nodiscard]] std::optional<PageKey> pageKeyAt(int index) const;
    [[nodiscard]] std::optional<PageKey> nextBookFirstPage() const;
    std::unique_ptr<ReadAhead> readAhead_ = std::make_unique<ReadAhead>();

    // ---- app/reading_place.cpp --------------------------------------------------------------
    struct ReadingPlace;
    [[nodiscard]] std::shared_ptr<ReadingPlace> saveReadingPlace() const;
    void restoreReadingPlace(const ReadingPlace& place);

    Platform& platform_;
    KeyPreview* keyPreview_ = nullptr;
    std::vector<std::unique_ptr<Control>> decorations_; // artwork and fixed captions
    double formLeft_ = 0, formTop_ = 0, formWidth_ = 0, formHeight_ = 0;
};

} // namespace cvx
