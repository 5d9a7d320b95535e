// Pictures of the program as a person sees it: the demonstration hotel on a real display, the
// main window with its board, then every child window on its first opening, one at a time.
//
//   kalv_screens OUTPUT-FOLDER SUFFIX
// Run by scripts/screenshots under Xvfb with a throw-away home; writes NAME-SUFFIX.png.

#include "desk/URights.h"
#include "windows/UNastaniavane.h"
#include "windows/UParola.h"
#include "admin/UDemoData.h"
#include "data/UADOComunicationControl.h"
#include "data/UDLLSafeCall.h"
#include "data/UDM.h"
#include "data/URegistry.h"
#include "errors/UExceptionLogs.h"
#include "framework/UFormatSettings.h"
#include "startup/KalvCM.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/USystemWinOS.h"
#include "windows/Hotel.h"
#include "windows/UFolio.h"
#include "windows/UFaktura.h"
#include "windows/UNastroiki.h"
#include "framework/UStdCtrls.h"
#include "windows/UReport.h"
#include "windows/UFirstStart.h"
#include "windows/UUserLogin.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>
#include <QPrintPreviewDialog>
#include <QTabWidget>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <cstdio>

namespace {

void settle(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void shoot(const QString &folder, const QString &name, const QString &suffix)
{
    settle(400);
    const QString file = folder + QLatin1Char('/') + name + QLatin1Char('-') + suffix + QStringLiteral(".png");
    QGuiApplication::primaryScreen()->grabWindow(0).save(file);
    std::printf("%s\n", qPrintable(file));
}

const QStringList kChildCommands = {"actOperReserv",         "actNomenHotels",   "actNomenRooms",
                                    "actNomenTarifs",        "actNomenServices", "actNomenValuta",
                                    "actNomenOperators",     "actOperSec",       "actAdministrationsConstructHotel",
                                    "actAdministrationsConfigDB", "actSettingsPersonalise", "actHelpAboutAs",
                                    "actOperNastaniavane",   "actOperCleanRoom", "actOperAddresCards",
                                    "actOperPrikluchvane",   "actNomenTaxs",     "actOperShahmatka",
                                    "actReportPrisitgashti", "actReportOtpatuvashti", "actReportRoomZaeti",
                                    "actReportAvailebleRooms", "actReportAllOborot", "actReportOperatorsOborot",
                                    "actReportOborotContragents", "actReportRazhodStai", "actReportLikvid",
                                    "actReportTaxs",         "actNomenDDS",      "actNomenClients", "actNomenSerii",
                                    "actOperZatvaryaneDen",  "actReportDnevenOtchet", "actNomenGosti",
                                    "actReportDarzhavi",     "actReportEsti",         "actNomenPrice"};

} // namespace

int main(int argc, char *argv[])
{
    TKalvApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]), suffix = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    TSystemWinOS::SetMessageBoxHandler([](const QString &text, const QString &, int) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return int(TSystemWinOS::IDOK);
    });
    TExceptionLogs::SetShowHandler(
        [](TExceptionLogs &window) { std::fprintf(stderr, "error log: %s\n", qPrintable(window.Text())); });
    KalvCM::RunBootstrap();
    ApplyFixedRegionalFormats();
    TDM dm;
    Rights::SetCurrent(0, Rights::Full());  // as kalvhotel-admin prepares the demonstration hotel
    try {
        DemoData::WriteEmbeddedSettings();
        DemoData::Prepare(TSystemWinOS::DeliveredFolder() + QStringLiteral("sql/"));
    } catch (const Exception &error) {
        std::fprintf(stderr, "demo: %s\n", qPrintable(error.Message()));
        return 1;
    }
    LocalConnection().Close();
    if (!TADOComunicationControl().ConnectFromSettings())
        return 1;
    {
        // What the start-up copies for the status bar, now that the settings exist.
        TRegistry registry;
        registry.OpenKey(SqlSettings::Key, false);
        SqlComputerName = registry.ReadString(SqlSettings::ComputerName);
        SqlInstance = registry.ReadString(SqlSettings::Instance);
        SqlUser = registry.ReadString(SqlSettings::User);
        SqlDataBase = registry.ReadString(SqlSettings::DataBase);
    }

    {
        TFFirstStart assistant;  // as on a computer without settings
        assistant.InitializeWindow();
        assistant.show();
        shoot(folder, QStringLiteral("FFirstStart"), suffix);
    }
    {
        TFUserLogin login;
        login.InitializeWindow();
        login.show();
        shoot(folder, QStringLiteral("FUserLogin"), suffix);
    }
    Rights::SetCurrent(0, Rights::Full());  // as after the login, with every right
    auto *main = new TFHotel;
    main->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    main->showMaximized();
    main->timerInitRoomStatusTimer();  // the marks the first tick would bring
    shoot(folder, QStringLiteral("FHotel"), suffix);
    for (const QString &command : kChildCommands) {
        main->RunCommand(command);
        const QList<QMdiSubWindow *> frames = main->MdiArea->subWindowList(QMdiArea::CreationOrder);
        const QString name = frames.isEmpty() ? command : frames.last()->widget()->objectName();
        shoot(folder, name, suffix);
        for (QMdiSubWindow *frame : main->MdiArea->subWindowList())
            frame->close();
        settle(100);
    }
    // The check-in's page of everyone in the room, with the first arrival chosen.
    main->RunCommand(QStringLiteral("actOperNastaniavane"));
    if (auto *arrivals = main->findChild<TFNastaniavane *>()) {
        arrivals->Pages()->setCurrentWidget(arrivals->tsNastaniavaneGuests);
        shoot(folder, QStringLiteral("FNastaniavane_guests"), suffix);
    }
    for (QMdiSubWindow *frame : main->MdiArea->subWindowList())
        frame->close();
    settle(100);
    // The turnover's chart, and the print preview of its pages.
    if (auto *report = main->OpenReport(*Reports::DefinitionOfAction(QStringLiteral("actReportAllOborot")))) {
        report->pcReport->setCurrentIndex(report->pcReport->count() - 1);
        shoot(folder, QStringLiteral("FReportObshtOborot_chart"), suffix);
        report->acReportPreview->trigger();
        shoot(folder, QStringLiteral("FReportPreview"), suffix);
        if (report->PreviewDialog)
            report->PreviewDialog->close();
        for (QMdiSubWindow *frame : main->MdiArea->subWindowList())
            frame->close();
        settle(100);
    }
    // The folio of the guest in house, on its first page and on its account.
    for (const auto &[page, name] : {std::pair{int(TFFolio::pgGuest), "FFolio"}, std::pair{int(TFFolio::pgAccount), "FFolio_account"},
                                     std::pair{int(TFFolio::pgHistory), "FFolio_history"}}) {
        main->OpenFolio(1, 0, page);
        shoot(folder, QString::fromLatin1(name), suffix);
        for (QMdiSubWindow *frame : main->MdiArea->subWindowList())
            frame->close();
        settle(100);
    }
    // The documents of the guest in house: the window, an invoice to a company and a credit note.
    if (TFFaktura *invoices = main->OpenInvoices(1)) {
        shoot(folder, QStringLiteral("FFaktura"), suffix);
        invoices->chkFakturaPerson->setChecked(false);
        invoices->cbFakturaEik->setEditText(QStringLiteral("204987655"));
        invoices->cbFakturaEik->lineEdit()->editingFinished();
        invoices->cbFakturaMethod->setCurrentIndex(FrontDesk::pmTransfer);
        invoices->acFakturaIssueExecute();
        shoot(folder, QStringLiteral("FDokument_invoice"), suffix);
        invoices->Grid()->setCurrentIndex(invoices->GridModel()->index(0, 0));
        invoices->acFakturaCreditExecute();
        invoices->tblFakturaLines->item(0, 0)->setCheckState(Qt::Checked);
        invoices->tblFakturaLines->item(0, 3)->setText(QStringLiteral("20.00"));
        shoot(folder, QStringLiteral("FFaktura_credit"), suffix);
        invoices->acFakturaIssueExecute();
        shoot(folder, QStringLiteral("FDokument_credit"), suffix);
        for (QMdiSubWindow *frame : main->MdiArea->subWindowList())
            frame->close();
        settle(100);
        main->RunCommand(QStringLiteral("actReportDokumenti"));
        shoot(folder, QStringLiteral("FReportDokumenti"), suffix);
        for (QMdiSubWindow *frame : main->MdiArea->subWindowList())
            frame->close();
        settle(100);
    }
    // The workstation's fiscal device, on the settings' network page.
    main->RunCommand(QStringLiteral("actSettingsPersonalise"));
    if (auto *settings = main->findChild<TFNastroiki *>()) {
        settings->pgSettingsAndPersonalisations->setCurrentWidget(settings->tsSettingsNetworks);
        shoot(folder, QStringLiteral("FNastroiki_fiscal"), suffix);
    }
    for (QMdiSubWindow *frame : main->MdiArea->subWindowList())
        frame->close();
    settle(100);
    // The password windows: the operator's own, and another operator's.
    Rights::SetCurrent(1, Rights::Full());
    for (const auto &[mode, name] : {std::pair{TFParola::pmOwn, "FParola"}, std::pair{TFParola::pmOther, "FParolaOperator"}}) {
        TFParola window(mode, 1);
        window.InitializeWindow();
        window.show();
        shoot(folder, QString::fromLatin1(name), suffix);
    }
    delete main;
    return 0;
}
