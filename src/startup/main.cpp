#include "KalvCM.h"

int main(int argc, char *argv[])
{
    TKalvApplication application(argc, argv);
    KalvCM::ScheduleScreenshot(application);
    KalvCM::RunBootstrap();
    return KalvCM::RunEntry(application);
}
