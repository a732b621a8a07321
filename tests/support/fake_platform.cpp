// The test platform.
#include "tests/support/fake_platform.h"

namespace cvx::test {

int FakePlatform::messageBox(const QString& text, int style, const QString& title) {
    boxes.push_back({text, style, title});
    if (onBox)
        onBox(boxes.back());
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (style & 7) == 4 ? kAnswerYes : kAnswerOk;
}

void FakePlatform::endProgram(int status) {
    ended = true;
    exitStatus = status;
    throw ProgramEnded{};
}

} // namespace cvx::test
