#include "CommandGuard.h"

#include "ProgramInfo.h"
#include "Prompter.h"
#include "TraderError.h"

bool runGuarded(Prompter& prompter, const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const TraderError& e) {
        prompter.error(ProgramInfo::ProgramTitle(), e.message());
    } catch (const std::exception& e) {
        prompter.error(ProgramInfo::ProgramTitle(), QString::fromLocal8Bit(e.what()));
    }
    return false;
}
