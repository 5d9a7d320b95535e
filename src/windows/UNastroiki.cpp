#include "UNastroiki.h"

#include "desk/UFiscal.h"

#include "controls/KalvMenu.h"
#include "data/URegistry.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "errors/UErrors.h"
#include "errors/UExceptionLogs.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesReports.h"
#include "startup/UConstMessagesStay.h"
#include "startup/ULanguages.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>
#include <QUrl>

namespace {
TTabSheet *sheet(QTabWidget *pages, const QString &name, const QString &caption)
{
    auto *page = new TTabSheet(pages);
    page->setObjectName(name);
    pages->addTab(page, caption);
    page->SetCaption(caption);
    return page;
}
} // namespace

TFNastroiki::TFNastroiki(QWidget *parent) : TMainLibraryClass(parent)
{
    setObjectName(QStringLiteral("FNastroiki"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(520, 330);
    smcFNastroiki = new TKalvMenuControl(this);
    smcFNastroiki->setObjectName(QStringLiteral("smcFNastroiki"));
    acFNastroikiSave = new QAction(QStringLiteral("Запис"), this);
    acFNastroikiSave->setObjectName(QStringLiteral("tbFNastroikiSave"));
    acFNastroikiClose = new QAction(QStringLiteral("Изход"), this);
    acFNastroikiClose->setObjectName(QStringLiteral("tbFNastroikiClose"));
    smcFNastroiki->AddCommand(acFNastroikiSave);
    smcFNastroiki->AddCommand(acFNastroikiClose);
    connect(acFNastroikiSave, &QAction::triggered, this, &TFNastroiki::acFNastroikiSaveExecute);
    connect(acFNastroikiClose, &QAction::triggered, this, &TFNastroiki::acFNastroikiCloseExecute);

    pgSettingsAndPersonalisations = new QTabWidget(this);
    pgSettingsAndPersonalisations->setObjectName(QStringLiteral("pgSettingsAndPersonalisations"));
    setCentralWidget(pgSettingsAndPersonalisations);
    tsSettingsPersonals = sheet(pgSettingsAndPersonalisations, QStringLiteral("tsSettingsPersonals"),
                                QStringLiteral("Персонални"));
    tsSettingsWork = sheet(pgSettingsAndPersonalisations, QStringLiteral("tsSettingsWork"), QStringLiteral("Служебни"));
    tsSettingsNetworks = sheet(pgSettingsAndPersonalisations, QStringLiteral("tsSettingsNetworks"),
                               QStringLiteral("Мрежови настройки"));
    pgSettingsAndPersonalisations->setCurrentWidget(tsSettingsWork);

    gbSettingsWorkSystemInit = new QGroupBox(QStringLiteral("Системна инициализация"), tsSettingsWork);
    gbSettingsWorkSystemInit->setObjectName(QStringLiteral("gbSettingsWorkSystemInit"));
    gbSettingsWorkSystemInit->setGeometry(8, 8, 480, 110);
    rgSettingsStarting = new TRadioGroup(gbSettingsWorkSystemInit);
    rgSettingsStarting->setObjectName(QStringLiteral("rgSettingsStarting"));
    rgSettingsStarting->setTitle(QStringLiteral("Стартиране на хотел                "));
    rgSettingsStarting->SetItems({QStringLiteral("Не    "), QStringLiteral("Да    ")});
    rgSettingsStarting->SetColumns(2);
    rgSettingsStarting->setGeometry(10, 22, 460, 76);

    gbSettingsLanguage = new QGroupBox(QStringLiteral("Език"), tsSettingsPersonals);
    gbSettingsLanguage->setObjectName(QStringLiteral("gbSettingsLanguage"));
    gbSettingsLanguage->setGeometry(8, 8, 480, 110);
    rgSettingsLanguage = new TRadioGroup(gbSettingsLanguage);
    rgSettingsLanguage->setObjectName(QStringLiteral("rgSettingsLanguage"));
    rgSettingsLanguage->setTitle(QStringLiteral("Език на надписите"));
    // Each language is named in its own words, whatever the captions' language.
    rgSettingsLanguage->SetItems({QStringLiteral("Български"), QStringLiteral("English"), QStringLiteral("Русский")});
    rgSettingsLanguage->SetColumns(3);
    rgSettingsLanguage->setGeometry(10, 22, 460, 76);
    gbSettingsIdleLock = new QGroupBox(QStringLiteral("Заключване"), tsSettingsWork);
    gbSettingsIdleLock->setObjectName(QStringLiteral("gbSettingsIdleLock"));
    gbSettingsIdleLock->setGeometry(8, 126, 480, 60);
    lInfoIdleLockMinutes = new QLabel(QStringLiteral("Минути бездействие до заключване (0: никога)"), gbSettingsIdleLock);
    lInfoIdleLockMinutes->setObjectName(QStringLiteral("lInfoIdleLockMinutes"));
    lInfoIdleLockMinutes->setGeometry(10, 24, 360, 23);
    seIdleLockMinutes = new QSpinBox(gbSettingsIdleLock);
    seIdleLockMinutes->setObjectName(QStringLiteral("seIdleLockMinutes"));
    seIdleLockMinutes->setRange(0, 24 * 60);
    seIdleLockMinutes->setGeometry(380, 24, 80, 23);
    gbSettingsFiscal = new QGroupBox(QStringLiteral("Фискално устройство"), tsSettingsNetworks);
    gbSettingsFiscal->setObjectName(QStringLiteral("gbSettingsFiscal"));
    gbSettingsFiscal->setGeometry(8, 8, 480, 150);
    chkFiscalDevice = new QCheckBox(QStringLiteral("Плащанията в брой и с карта се маркират на фискално устройство"),
                                    gbSettingsFiscal);
    chkFiscalDevice->setObjectName(QStringLiteral("chkFiscalDevice"));
    chkFiscalDevice->setGeometry(10, 22, 460, 23);
    auto *addressLabel = new QLabel(QStringLiteral("Адрес на услугата"), gbSettingsFiscal);
    addressLabel->setObjectName(QStringLiteral("lInfoFiscalAddress"));
    addressLabel->setGeometry(10, 52, 150, 23);
    edFiscalAddress = new QLineEdit(gbSettingsFiscal);
    edFiscalAddress->setObjectName(QStringLiteral("edFiscalAddress"));
    edFiscalAddress->setPlaceholderText(QStringLiteral("http://127.0.0.1:8001"));
    edFiscalAddress->setGeometry(170, 52, 300, 23);
    auto *printerLabel = new QLabel(QStringLiteral("Принтер"), gbSettingsFiscal);
    printerLabel->setObjectName(QStringLiteral("lInfoFiscalPrinter"));
    printerLabel->setGeometry(10, 82, 150, 23);
    edFiscalPrinter = new QLineEdit(gbSettingsFiscal);
    edFiscalPrinter->setObjectName(QStringLiteral("edFiscalPrinter"));
    edFiscalPrinter->setGeometry(170, 82, 300, 23);
    btnFiscalXReport = new QToolButton(gbSettingsFiscal);
    btnFiscalXReport->setText(QStringLiteral("X отчет"));
    btnFiscalXReport->setObjectName(QStringLiteral("btnFiscalXReport"));
    btnFiscalXReport->setGeometry(170, 114, 140, 26);
    btnFiscalZReport = new QToolButton(gbSettingsFiscal);
    btnFiscalZReport->setText(QStringLiteral("Z отчет"));
    btnFiscalZReport->setObjectName(QStringLiteral("btnFiscalZReport"));
    btnFiscalZReport->setGeometry(330, 114, 140, 26);
    connect(btnFiscalXReport, &QToolButton::clicked, this, [this] { btnFiscalReportClick(false); });
    connect(btnFiscalZReport, &QToolButton::clicked, this, [this] { btnFiscalReportClick(true); });
    FormInfo1 = new TFormInfo(this, QStringLiteral("FNastroiki"));
}

bool TFNastroiki::SaveFiscalSettings()
{
    Fiscal::TSettings settings = Fiscal::Settings();
    settings.Device = chkFiscalDevice->isChecked();
    settings.Address = edFiscalAddress->text().trimmed();
    settings.Printer = edFiscalPrinter->text().trimmed();
    const QUrl address(settings.Address);
    if (settings.Device && (!address.isValid() || !address.scheme().startsWith(QLatin1String("http")) ||
                            address.host().isEmpty() || settings.Printer.isEmpty())) {
        MarkControlFailed(settings.Printer.isEmpty() && address.isValid() ? edFiscalPrinter : edFiscalAddress);
        TSystemWinOS::ShowMessageBox(msgFiscalSettingsInvalid, msgWarningTitle, 48);
        return false;
    }
    Fiscal::SaveSettings(settings);
    return true;
}

// The reports are the device's own: the program asks for them and says what came back. A Z
// report closes the device's day, so it is asked about first.
void TFNastroiki::btnFiscalReportClick(bool z)
{
    if (z && TSystemWinOS::ShowMessageBox(msgFiscalZAsk, msgWarningTitle, 4 + 32) != TSystemWinOS::IDYES)
        return;
    try {
        const Fiscal::TResult result = Fiscal::Report(z);
        TSystemWinOS::ShowMessageBox(result.Ok ? msgFiscalReportDone : msgFiscalRefused.arg(result.Messages.join(QStringLiteral("; "))),
                                     msgInformationTitle, result.Ok ? 64 : 48);
    } catch (const Exception &error) {
        TSystemWinOS::ShowMessageBox(error.Message(), msgWarningTitle, 48);
    }
}

int TFNastroiki::IdleLockMinutes()
{
    TRegistry registry;
    if (!registry.OpenKey(SqlSettings::Key, false) || !registry.ValueExists(SqlSettings::IdleLockMinutes))
        return SqlSettings::DefaultIdleLockMinutes;
    return qMax(0, registry.ReadInteger(SqlSettings::IdleLockMinutes));
}

bool TFNastroiki::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadFormCaption(this);
    LoadToolbarCaptions(smcFNastroiki);
    LoadContainerCaptions(gbSettingsWorkSystemInit);
    LoadContainerCaptions(gbSettingsLanguage);
    LoadContainerCaptions(gbSettingsIdleLock);
    LoadContainerCaptions(gbSettingsFiscal);
    seIdleLockMinutes->setValue(IdleLockMinutes());
    const Fiscal::TSettings fiscal = Fiscal::Settings();
    chkFiscalDevice->setChecked(fiscal.Device);
    edFiscalAddress->setText(fiscal.Address);
    edFiscalPrinter->setText(fiscal.Printer);
    LoadContainerCaptions(pgSettingsAndPersonalisations);
    const TLanguage language = Languages::OfSettings(DataFolder + QStringLiteral("Settings.ini"));
    rgSettingsLanguage->SetItemIndex(language == slEnglish ? 1 : language == slRussian ? 2 : 0);
    return true;
}

bool TFNastroiki::SaveStartSetting()
{
    TRegistry registry;
    if (registry.OpenKey(SqlSettings::Key, true)) {
        // No chosen item (-1) is a number other than 0, so it counts as true.
        registry.WriteInteger(SqlSettings::InitRooms, rgSettingsStarting->ItemIndex() != 0 ? 1 : 0);
        registry.WriteInteger(SqlSettings::IdleLockMinutes, seIdleLockMinutes->value());
        registry.CloseKey();
    }
    return true;
}

bool TFNastroiki::SaveLanguage()
{
    static const TLanguage languages[] = {slBulgarian, slEnglish, slRussian};
    const int index = rgSettingsLanguage->ItemIndex();
    const QString settings = DataFolder + QStringLiteral("Settings.ini");
    if (index < 0 || index > 2 || Languages::OfSettings(settings) == languages[index])
        return false;
    Languages::Choose(settings, languages[index]);
    return true;
}

void TFNastroiki::acFNastroikiSaveExecute()
{
    SaveStartSetting();
    try {
        if (!SaveFiscalSettings())
            return;
    } catch (const Exception &error) {
        TExceptionLogs::Show(error.Message());
        return;
    }
    bool languageChanged = false;
    try {
        languageChanged = SaveLanguage();
    } catch (const Exception &error) {
        TExceptionLogs::Show(error.Message());
        return;
    }
    TSystemWinOS::ShowMessage(QStringLiteral("Успешно записване на настройка"));
    if (languageChanged)
        TSystemWinOS::ShowMessage(msgLanguageNextStart);
}

void TFNastroiki::acFNastroikiCloseExecute() { close(); }

void TFNastroiki::closeEvent(QCloseEvent *event)
{
    FormInfo1->Save();
    TMainLibraryClass::closeEvent(event);
}
