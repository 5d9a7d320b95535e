#include "KalvCM.h"

int main(int argc, char *argv[])
{
    TKalvApplication application(argc, argv);
    KalvCM::RunBootstrap();
    return KalvCM::RunEntry(application);
}
