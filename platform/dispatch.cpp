// One event handler at a time; unhandled failures end the program after a message.
#include "platform/dispatch.h"

#include "app/text_rules.h"

namespace cvx {

int Dispatch::depth_ = 0;

void Dispatch::run(Platform& platform, const std::function<void()>& handler) {
    QString failure;
    {
        DispatchScope scope;
        try {
            handler();
            return;
        } catch (const RuntimeError& e) {
            failure = e.text;
        }
    }
    platform.messageBox(QStringLiteral("Errore di esecuzione: ") + failure, kStyleCritical,
                        kApplicationTitle);
    platform.endProgram(kExitFailure);
}

} // namespace cvx
