#include "app/app.h"
#include "runtime/program.h"

void RunShow(void)
{
    EndProgram();
}
