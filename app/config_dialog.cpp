#include "app/app.h"
#include "runtime/program.h"

void RunConfiguration(void)
{
    EndProgram();
}
