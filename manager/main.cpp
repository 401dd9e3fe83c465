#include "manager/ManagerProgram.h"

int main(int argc, char* argv[])
{
    return manager::runManager(argc, argv);
}
