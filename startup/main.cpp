#include "startup/startup.h"

int main(int argc, char **argv)
{
    return quelvane::run_program(argc, argv);
}
