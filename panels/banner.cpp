// The credits banner and its countdown: 90 ticks of 200 ms unless a click hides it first.
#include "app/bookform.h"

namespace cvx {

void BookForm::Image15_Click() {
    Picture9->setVisible(true);
    Shape1->setWidth(9200);
    BannerTicks = 90;
    Label9->setCaption(QStringLiteral("9"));
    Timer2.setEnabled(true);
    Timer2.setInterval(200);
}

void BookForm::Timer2_Timer() {
    Shape1->setWidth(toInteger(BannerTicks * 100.0));
    BannerTicks = static_cast<std::int16_t>(BannerTicks - 1);
    Label9->setCaption(numberText(BannerTicks / 10));
    if (BannerTicks == 0) {
        Picture9->setVisible(false);
        Shape1->setWidth(0);
        Label9->setCaption(QStringLiteral("9"));
        Timer2.setEnabled(false);
        Timer2.setInterval(0);
    }
}

// The countdown goes on; when it runs out it stops itself.
void BookForm::Picture9_Click() {
    Picture9->setVisible(false);
}

} // namespace cvx
