#include "KalvCM.h"
#include "framework/UScreenProbe.h"

int main(int argc, char *argv[])
{
    TKalvApplication application(argc, argv);
    KalvCM::ScheduleScreenshot(application);
    TScreenProbe::StartIfAsked(&application);
    KalvCM::RunBootstrap();
    return KalvCM::RunEntry(application);
}
