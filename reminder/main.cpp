#include "ProgramDirectory.h"
#include "SingleInstance.h"

int main()
{
    const auto instance =
        platform::SingleInstance::acquire(platform::programDirectory(), "Avisela");
    return instance.anotherIsRunning() ? 0 : 0;
}
