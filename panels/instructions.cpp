// The instructions panel: opening and closing it, and the text and pointer picture of each
// topic.
#include "app/bookform.h"

#include "panels/instruction_texts.h"

namespace cvx {

// Both toggle pictures toggle, so the element index is not needed.
void BookForm::Image2_Click(std::int16_t) {
    if (Picture1->Visible())
        closeInstructions();
    else
        openInstructions();
}

void BookForm::Image14_Click() {
    closeInstructions();
}

void BookForm::Option1_Click(std::int16_t index) {
    for (int LoopIndex = 0; LoopIndex <= 5; ++LoopIndex)
        Image7[LoopIndex]->setVisible(false);
    const int pointer = instructions::topicPicture(index);
    if (pointer >= 0)
        Image7[pointer]->setVisible(true);
    Label4->setCaption(instructions::topicText(index));
}

void BookForm::fillInstructionTexts() {
    Label2->setCaption(instructions::preliminaryNote());
    Label4->setCaption(instructions::topicText(0));
}

// While the panel covers the page the selectors cannot change it.
void BookForm::openInstructions() {
    Picture1->setVisible(true);
    Image2[1]->setVisible(true);
    Image2[0]->setVisible(false);
    Combo2->setEnabled(false);
    Combo1->setEnabled(false);
    Picture5->setEnabled(false);
}

void BookForm::closeInstructions() {
    Picture1->setVisible(false);
    Image2[0]->setVisible(true);
    Image2[1]->setVisible(false);
    Combo2->setEnabled(true);
    Combo1->setEnabled(true);
    Picture5->setEnabled(true);
}

} // namespace cvx
