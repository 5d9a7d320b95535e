#include "UNastroiki.h"

#include "controls/KalvMenu.h"
#include "data/URegistry.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

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
    FormInfo1 = new TFormInfo(this, QStringLiteral("FNastroiki"));
}

bool TFNastroiki::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadFormCaption(this);
    LoadToolbarCaptions(smcFNastroiki);
    LoadContainerCaptions(gbSettingsWorkSystemInit);
    LoadContainerCaptions(pgSettingsAndPersonalisations);
    return true;
}

bool TFNastroiki::SaveStartSetting()
{
    TRegistry registry;
    if (registry.OpenKey(SqlSettings::Key, true)) {
        // No chosen item (-1) is a number other than 0, so it counts as true.
        registry.WriteInteger(SqlSettings::InitRooms, rgSettingsStarting->ItemIndex() != 0 ? 1 : 0);
        registry.CloseKey();
    }
    return true;
}

void TFNastroiki::acFNastroikiSaveExecute()
{
    SaveStartSetting();
    TSystemWinOS::ShowMessage(QStringLiteral("Успешно записване на настройка"));
}

void TFNastroiki::acFNastroikiCloseExecute() { close(); }

void TFNastroiki::closeEvent(QCloseEvent *event)
{
    FormInfo1->Save();
    TMainLibraryClass::closeEvent(event);
}
