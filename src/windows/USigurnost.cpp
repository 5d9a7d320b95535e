#include "USigurnost.h"

#include <algorithm>

#include "desk/UFrontDesk.h"
#include "desk/UOperators.h"
#include "desk/URights.h"
#include "startup/UConstMessagesSecurity.h"
#include "startup/USystemWinOS.h"
#include "startup/UConstMessagesStay.h"

#include "controls/KalvMenu.h"
#include "data/UDbSchema.h"
#include "controls/UImageList.h"
#include "data/UAdoDb.h"
#include "data/UDM.h"
#include "errors/UExceptionLogs.h"
#include "framework/FormInfo.h"
#include "startup/UConstMessagesHotel.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QTimer>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

const QColor TShapeSwitch::Red = QColor(0xFF, 0x00, 0x00);
const QColor TShapeSwitch::Green = QColor(0x00, 0x80, 0x00);
const QColor TShapeSwitch::MoneyGreen = QColor(0xC0, 0xDC, 0xC0);

namespace {

constexpr int kFolded = 40;

struct TGroup {
    const char *Panel, *Header, *Label, *Caption;
};
const TGroup kGroups[] = {
    {"P1", "ShapeL1", "lInfoSecurityFullSecurity", "[Пълен достъп]"},
    {"P2", "ShapeL2", "lInfoSecurityNomenclatures", "[Номенклатури]"},
    {"P3", "ShapeL3", "lInfoSecurityDB", "[База]"},
    {"P4", "ShapeL4", "lInfoSecurityServer", "[Сървър]"},
    {"P5", "ShapeL5", "lInfoSecuritySecurity", "[Сигурност]"},
    {"P6", "ShapeL6", "lInfoSecuritySettings", "[Настройки]"},
    {"P7", "ShapeL7", "lInfoOperation", "[Операции]"},
    {"P8", "ShapeL8", "lInfoSecuritySystem", "[Системни]"},
    {"P9", "ShapeL9", "lInfoSecurityAccount", "[Отчети]"},
    {"P10", "ShapeL10", "lInfoSecurityOfficialData", "Служебни данни"},
};

struct TRight {
    int Position, Group;  // group: index into kGroups
    const char *Switch, *Label, *Caption;
};
const TRight kRights[] = {
    {1, 1, "ShapeL21", "lInfoSecurityOperators", "Оператори"},
    {2, 1, "ShapeL22", "lInfoSecurityPrices", "Цени"},
    {3, 1, "ShapeL23", "lInfoSecurityTarifes", "Тарифи"},
    {4, 1, "ShapeL25", "lInfoSecurityRooms", "Стаи"},
    {5, 1, "ShapeL24", "lInfoSecurityAllNomenclatures", "Номенклатури"},
    {6, 1, "ShapeL32", "lInfoSecurityCurrency", "Валута"},
    {7, 1, "ShapeL26", "lInfoSecurityDiscount", "Отстъпки"},
    {8, 1, "ShapeL27", "lInfoSecurityServices", "Услуги"},
    {9, 1, "ShapeL28", "lInfoSecuritySpaTaxs", "Куротни такси"},
    {10, 2, "Shape1", "lInfoSecurityNewDB", "Нова база"},
    {11, 2, "Shape2", "lInfoSecurityChangeStructor", "Промяна структора"},
    {12, 2, "Shape3", "lInfoSecurityDBDelete", "Изтриване"},
    {13, 2, "Shape4", "lInfoSecurityDBArchive", "Архивиране"},
    {14, 2, "Shape5", "lInfoSecurityDBMoveAttachDetach", "Преместване"},
    {15, 2, "Shape6", "lInfoSecurityFullDBSecurity", "Пълен достъп до база"},
    {16, 3, "Shape7", "lInfoSecurityAddSP", "Добавяне на съхранени процедури"},
    {17, 3, "Shape8", "lInfoSecurityDelSP", "Изтриване на съхранени процедури"},
    {18, 3, "Shape9", "lInfoSecurityEditSP", "Редактиране на съхранени процедури"},
    {19, 3, "Shape10", "lInfoSecurityServerSecurity", "Достъп"},
    {20, 3, "Shape11", "lInfoSecuritySettingsServer", "Настройки MSSQL Server"},
    {21, 4, "Shape13", "lInfoSecurityChangePassword", "Промяна парола на оператори"},
    {22, 4, "Shape14", "lInfoSecurityChangeSecurity", "Промяна на достъп (сигурност)"},
    {23, 5, "Shape15", "lInfoSecurityMenu", "Меню"},
    {24, 5, "Shape16", "lInfoSecurityChangeDate", "Промяна на дата (време)"},
    {25, 5, "Shape17", "lInfoSecurityAllSettings", "Общо достъп до настройки"},
    {26, 6, "Shape18", "lInfoReservation", "Резервация"},
    {27, 6, "Shape19", "lInfoSecurityAcomodation", "Настаняване"},
    {28, 6, "Shape20", "lInfoSecurityDeleteAcomodation", "Отмяна настаняване"},
    {29, 6, "Shape21", "lInfoSecurityDeleteReservation", "Отмяна(редакция) резервация"},
    {30, 6, "Shape22", "lInfoSecurityAddMoneySum", "Начисления"},
    {31, 6, "Shape23", "lInfoSecurityFacturs", "Фактуриране"},
    {32, 6, "Shape24", "lInfoSecurityFinishDay", "Приключване"},
    {33, 6, "Shape25", "lInfoSecurityChangeOperator", "Смяна оператор"},
    {34, 7, "Shape12", "lInfoSecurityLock", "Заключване"},
    {35, 7, "Shape26", "lInfoSecurityEnterToSystemLogIn", "Вход в системата"},
    {36, 7, "Shape27", "lInfoSecurityExitFromSystem", "Изход от системата"},
    {37, 8, "Shape28", "lInfoSecurityReportArrive", "Справка пристигащи"},
    {38, 8, "Shape29", "lInfoSecurityReportDeparture", "Справка отпътуващи"},
    {39, 8, "Shape30", "lInfoSecurityReportSecurity", "Справка застраховки"},
    {40, 8, "Shape31", "lInfoSecurityReportTaxs", "Справка курортни такси"},
    {41, 8, "Shape32", "lInfoSecurityReportMaterialSavers", "Справка матерални запаси"},
    {42, 8, "Shape33", "lInfoSecurityReportAvailebleRooms", "Справка свободни стаи"},
    {43, 8, "Shape34", "lInfoSecurityReportRazhod", "Справка стаи разход"},
    {44, 8, "Shape35", "lInfoSecurityReportZaetost", "Справка заетост"},
    {45, 8, "Shape36", "lInfoSecurityReport", "Справка общ оборот"},
    {46, 8, "Shape37", "lInfoSecurityReportClientSum", "Справка оборот клиент"},
    {47, 8, "Shape38", "lInfoSecurityReportOperatorSum", "Справка оборот по оператори"},
    {48, 8, "Shape39", "lInfoSecurityReportWining", "Справка печалба"},
    {49, 9, "Shape40", "lInfoSecurityInnerControlAndSecurity", "Вътрешен контрол и сигурност"},
    {50, 9, "Shape41", "lInfoSecurityRemoteControl", "Отдалечен достъп и централизирано управление"},
    {51, 1, "Shape42", "lInfoSecurityGuestDocuments", "Лични данни и документи на гости"},
    {52, 6, "Shape43", "lInfoSecurityRateOverride", "Резервация въпреки ограниченията на ценови план"},
};


QLabel *namedLabel(QWidget *parent, const char *name, const char *caption)
{
    auto *label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

TShapeSwitch::TShapeSwitch(const QString &hint, QWidget *parent) : QWidget(parent)
{
    setToolTip(hint);
    setFixedSize(16, 16);
    setCursor(Qt::PointingHandCursor);
}

void TShapeSwitch::SetColour(const QColor &colour)
{
    m_colour = colour;
    update();
}

void TShapeSwitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(m_colour);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

void TShapeSwitch::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    emit MouseUp();
}

TFSigurnost::TFSigurnost(QWidget *parent) : TMainLibraryClass(parent)
{
    setObjectName(QStringLiteral("FSigurnost"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(900, 600);
    smcFSigurnost = new TKalvMenuControl(this);
    smcFSigurnost->setObjectName(QStringLiteral("smcFSigurnost"));
    auto command = [this](const char *button, const char *caption, void (TFSigurnost::*handler)()) {
        auto *action = new QAction(QString::fromUtf8(caption), this);
        action->setObjectName(QLatin1String(button));
        connect(action, &QAction::triggered, this, handler);
        return smcFSigurnost->AddCommand(action);
    };
    acSave = command("tbSave", "Запис", &TFSigurnost::acSaveExecute);
    acCancel = command("tbCancel", "Отмяна", &TFSigurnost::acCancelExecute);
    acClose = command("tbClose", "Изход", &TFSigurnost::acCloseExecute);

    auto *panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    setCentralWidget(panel1);
    auto *columns = new QHBoxLayout(panel1);
    auto *panel2 = new QWidget(panel1);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setFixedWidth(250);
    auto *left = new QVBoxLayout(panel2);
    left->setContentsMargins(0, 0, 0, 0);
    DBGrid1 = new QTableView(panel2);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setMaximumHeight(150);
    m_gridModel = new TAdoGridModel(this);
    m_gridModel->ApplyTo(DBGrid1);
    TreeView1 = new QTreeWidget(panel2);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(35);
    TreeView1->setIconSize(QSize(32, 32));
    connect(TreeView1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *node) { TreeView1Change(node); });
    Edit1 = new QLineEdit(panel2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(panel2);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit1->setMaxLength(TextColumnLength);
    Edit2->setMaxLength(TextColumnLength);
    left->addWidget(DBGrid1);
    left->addWidget(TreeView1, 1);
    left->addWidget(Edit1);
    left->addWidget(Edit2);
    lRightsTakeEffect = new QLabel(panel2);
    lRightsTakeEffect->setObjectName(QStringLiteral("lRightsTakeEffect"));
    lRightsTakeEffect->setWordWrap(true);
    left->addWidget(lRightsTakeEffect);
    columns->addWidget(panel2);

    ScrollBox1 = new QScrollArea(panel1);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    auto *box = new QWidget;
    box->setObjectName(QStringLiteral("Panel11"));
    BuildGroups(box);
    ScrollBox1->setWidget(box);
    columns->addWidget(ScrollBox1, 1);
    ADOQuery1 = new TADOQuery(nullptr, this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    m_foldTimer = new QTimer(this);
    m_foldTimer->setInterval(10);
    connect(m_foldTimer, &QTimer::timeout, this, &TFSigurnost::FoldStep);
    FormInfo1 = new TFormInfo(this, QStringLiteral("FSigurnost"));
}

void TFSigurnost::BuildGroups(QWidget *box)
{
    auto *stack = new QVBoxLayout(box);
    stack->setContentsMargins(2, 2, 2, 2);
    stack->setSpacing(2);
    for (int g = 0; g < 10; ++g) {
        auto *panel = new QFrame(box);
        panel->setObjectName(QLatin1String(kGroups[g].Panel));
        panel->setToolTip(QStringLiteral("0"));
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setFixedHeight(kFolded);
        auto *header = new TShapeSwitch(QStringLiteral("0"), panel);
        header->setObjectName(QLatin1String(kGroups[g].Header));
        header->move(8, 12);
        QLabel *caption = namedLabel(panel, kGroups[g].Label, kGroups[g].Caption);
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
        caption->move(32, 10);
        if (g == 0)
            connect(header, &TShapeSwitch::MouseUp, this, &TFSigurnost::ShapeL1MouseUp);
        else
            connect(header, &TShapeSwitch::MouseUp, this, [this, panel, header] { TogglePanel(panel, header); });
        Panels.append(panel);
        HeaderSwitches.append(header);
        stack->addWidget(panel);
    }
    stack->addStretch(1);
    for (const TRight &right : kRights) {
        QFrame *panel = Panels.at(right.Group);
        auto *shape = new TShapeSwitch(QString::number(right.Position), panel);
        shape->setObjectName(QLatin1String(right.Switch));
        QLabel *label = namedLabel(panel, right.Label, right.Caption);
        connect(shape, &TShapeSwitch::MouseUp, this, [this, shape] { SwitchMouseUp(shape); });
        RightSwitches.append(shape);
        m_rightLabels.insert(right.Position, label);
    }
    LayOutRights();
}

void TFSigurnost::LayOutRights()
{
    int width = 186;
    for (const QLabel *label : std::as_const(m_rightLabels))
        width = std::max(width, label->sizeHint().width());
    // The groups' area: the window less the operators' column and the frames around.
    const int area = std::max(width + 40, this->width() - 290);
    const int columns = std::clamp(area / (width + 32), 1, 3);
    int placed[10] = {};
    for (const TRight &right : kRights) {
        QFrame *panel = Panels.at(right.Group);
        const int index = placed[right.Group]++;
        const int x = 10 + (index % columns) * (width + 32), y = 44 + (index / columns) * 26;
        panel->findChild<TShapeSwitch *>(QLatin1String(right.Switch))->move(x, y + 2);
        panel->findChild<QLabel *>(QLatin1String(right.Label))->setGeometry(x + 22, y, width + 4, 20);
    }
    for (int g = 0; g < Panels.size(); ++g) {
        if (auto *caption = Panels.at(g)->findChild<QLabel *>(QLatin1String(kGroups[g].Label)))
            caption->adjustSize();  // the group's own caption, as long as this language writes it
        const int rows = (placed[g] + columns - 1) / columns;
        m_openHeight.insert(Panels.at(g), std::max(kFolded, 44 + rows * 26 + 8));
    }
}

QString TFSigurnost::RightCaption(int position) const
{
    const QLabel *label = m_rightLabels.value(position);
    return label ? label->text() : QString();
}

TShapeSwitch *TFSigurnost::SwitchAt(int position) const
{
    for (TShapeSwitch *shape : RightSwitches)
        if (shape->Hint().toInt() == position)
            return shape;
    return nullptr;
}

bool TFSigurnost::InitializeWindow()
{
    TMainLibraryClass::InitializeWindow();
    LoadFormCaption(this);
    LoadToolbarCaptions(smcFSigurnost);
    lRightsTakeEffect->setText(msgRightsTakeEffect);
    for (QFrame *panel : Panels)
        LoadContainerCaptions(panel);
    LayOutRights();  // the captions of this language decide the columns
    for (QFrame *panel : Panels)
        panel->setFixedHeight(kFolded);
    TADOConnection &connection = LocalConnection();
    ADOQuery1->Close();
    ADOQuery1->SQL.clear();
    ADOQuery1->SetConnection(&connection);
    ADOQuery1->SetSQLText(QStringLiteral("SELECT * FROM Operators "));
    try {
        if (!connection.InTransaction())
            connection.BeginTrans();
        ADOQuery1->Open();
        if (connection.InTransaction())
            connection.CommitTrans();
    } catch (const Exception &error) {
        if (connection.Connected() && connection.InTransaction())
            connection.RollbackTrans();
        TExceptionLogs::Show(error.Message());
        return false;
    }
    m_gridModel->SetDataSet(ADOQuery1);
    m_gridModel->SetColumns({{"q80", colUserID, 20}, {"q75", colUser, 100}});
    m_gridModel->ApplyTo(DBGrid1);
    const QSignalBlocker quiet(TreeView1);
    TreeView1->clear();
    auto *root = new QTreeWidgetItem(TreeView1, {colUsers});
    root->setIcon(0, ImageList::Icon(9));
    for (ADOQuery1->First(); !ADOQuery1->Eof(); ADOQuery1->Next()) {
        auto *node = new QTreeWidgetItem(root, {ADOQuery1->FieldByName(QStringLiteral("q80")).AsString() +
                                                QStringLiteral(". ") +
                                                ADOQuery1->FieldByName(QStringLiteral("q75")).AsString()});
        node->setIcon(0, ImageList::Icon(103));
    }
    root->setExpanded(true);
    return true;
}

int TFSigurnost::SelectedOperatorId(bool *ok) const
{
    *ok = false;
    QTreeWidgetItem *node = TreeView1->currentItem();
    if (!node || !node->parent())
        return 0;  // nothing, or the root, is selected
    return node->text(0).section(QLatin1Char('.'), 0, 0).toInt(ok);
}

void TFSigurnost::TreeView1Change(QTreeWidgetItem *node)
{
    if (!node || node->text(0) == colUsers)
        return;
    bool ok = false;
    const int id = SelectedOperatorId(&ok);
    if (ok && ADOQuery1->Active() && ADOQuery1->Locate(QStringLiteral("q80"), id)) {
        EditedPrivileges = ADOQuery1->FieldByName(QStringLiteral("q77")).AsString();
        const QString shown = Rights::Normalised(EditedPrivileges);
        for (TShapeSwitch *shape : RightSwitches)
            shape->SetColour(shown.at(shape->Hint().toInt() - 1) == QLatin1Char('1') ? TShapeSwitch::Green
                                                                                      : TShapeSwitch::Red);
    }
    node->setIcon(0, ImageList::Icon(9 + 1));
}

void TFSigurnost::SetPrivilegeChar(TShapeSwitch *shape, QString &privileges)
{
    const int n = shape->Hint().toInt();
    privileges = Rights::Normalised(privileges);
    privileges[n - 1] = shape->Colour() == TShapeSwitch::Green ? QLatin1Char('1') : QLatin1Char('0');
}

void TFSigurnost::SwitchMouseUp(TShapeSwitch *shape)
{
    shape->SetColour(shape->Colour() == TShapeSwitch::Red ? TShapeSwitch::Green : TShapeSwitch::Red);
    SetPrivilegeChar(shape, EditedPrivileges);
}

void TFSigurnost::ShapeL1MouseUp()
{
    const bool grant = HeaderSwitches.first()->Colour() == TShapeSwitch::Red;
    const QColor colour = grant ? TShapeSwitch::Green : TShapeSwitch::Red;
    for (TShapeSwitch *shape : RightSwitches + HeaderSwitches)
        shape->SetColour(colour);
    EditedPrivileges = grant ? Rights::Full() : Rights::None();
}

void TFSigurnost::TogglePanel(QFrame *panel, TShapeSwitch *header)
{
    // The panel moves toward where it is going, so a second click turns it back.
    const bool opening = m_foldTarget.value(panel, panel->height()) <= 50;
    header->SetColour(opening ? TShapeSwitch::MoneyGreen : TShapeSwitch::Red);
    m_foldTarget.insert(panel, opening ? m_openHeight.value(panel, kFolded) : kFolded);
    if (!m_foldTimer->isActive())
        m_foldTimer->start();
}

void TFSigurnost::FoldStep()
{
    // Ten pixels a step, on the window's own timer: closing the window stops it with it.
    for (auto it = m_foldTarget.begin(); it != m_foldTarget.end();) {
        QFrame *panel = it.key();
        const int height = panel->height();
        const int step = height < it.value() ? 10 : -10;
        const int next = step > 0 ? qMin(height + step, it.value()) : qMax(height + step, it.value());
        panel->setFixedHeight(next);
        it = next == it.value() ? m_foldTarget.erase(it) : std::next(it);
    }
    if (m_foldTarget.isEmpty())
        m_foldTimer->stop();
}

void TFSigurnost::acSaveExecute()
{
    bool ok = false;
    const int id = SelectedOperatorId(&ok);
    if (!ok || !ADOQuery1->Active() || !ADOQuery1->Locate(QStringLiteral("q80"), id))
        return;
    TADOConnection &connection = LocalConnection();
    try {
        // Nobody grants what they do not hold, and somebody keeps the keys to this window.
        Operators::SaveRights(id, EditedPrivileges);
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        TSystemWinOS::ShowMessageBox(error.Message(), msgInformationTitle, 48);
        return;
    }
    // The window's rows show what is stored now; the tree and the switches stay as they are.
    try {
        TTransaction transaction(connection);
        ADOQuery1->Close();
        ADOQuery1->Open();
        transaction.Commit();
    } catch (const Exception &error) {
        connection.RollbackIfOpen();
        TExceptionLogs::Show(error.Message());
    }
}

void TFSigurnost::acCancelExecute() { Edit1->setText(EditedPrivileges); }

void TFSigurnost::acCloseExecute() { close(); }

void TFSigurnost::closeEvent(QCloseEvent *event)
{
    FormInfo1->Save();
    TMainLibraryClass::closeEvent(event);
}
