#include "UTarsene.h"

#include "data/UDM.h"
#include "data/UGuestSearch.h"
#include "desk/UFrontDesk.h"
#include "controls/KalvMenu.h"
#include "framework/FormInfo.h"
#include "framework/UStdCtrls.h"
#include "startup/UConstMessagesHotel.h"
#include "startup/UConstMessagesStay.h"
#include "startup/USystemWinOS.h"

#include <QAction>
#include <QBoxLayout>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

namespace {

const QString kColumns = QStringLiteral(
    "SELECT b.q124, k.q123, b.q29, b.q28, b.q133, h.q10, r.q44, k.q34, k.q35, k.q125 FROM Rezervacii b "
    "LEFT JOIN HotelBuild h ON (h.q1 = b.q1) LEFT JOIN Klients k ON (k.q124 = b.q124 AND k.q47 IS NOT NULL) "
    "LEFT JOIN Rooms r ON (r.q47 = k.q47) ");

// How long typing rests before the search runs.
constexpr int kTypingPause = 250;

} // namespace

TFTarsene::TFTarsene(QWidget *parent) : TRegisterWindow(QStringLiteral("FTarsene"), parent)
{
    resize(1120, 560);
    Placement()->SetDesignedSize(size());
    acTarseneFind = AddCommand(QStringLiteral("acTarseneFind"), QStringLiteral("acTarseneFind"), QStringLiteral("Търси"),
                               [this] { acTarseneFindExecute(); });
    acTarseneFolio = AddCommand(QStringLiteral("acTarseneFolio"), QStringLiteral("acTarseneFolio"), QStringLiteral("Сметка"),
                                [this] { acTarseneFolioExecute(); });
    acClose = AddCommand(QStringLiteral("acClose"), QStringLiteral("acClose"), QStringLiteral("Изход"), [this] { close(); });
    Pages()->setObjectName(QStringLiteral("pcTarsene"));
    tsTarsene = AddSheet(QStringLiteral("tsTarsene"), QStringLiteral("Търсене"));
    gbTarsene = AddGroupBox(tsTarsene, QStringLiteral("gbTarsene"), QStringLiteral("Търсене на резервация"));
    edTarseneText = AddEdit(gbTarsene, QStringLiteral("lInfoTarseneText"), QStringLiteral("Име, ЕГН, паспорт, стая или №"),
                            QStringLiteral("edTarseneText"));
    connect(edTarseneText, &QLineEdit::returnPressed, this, [this] {
        m_typing->stop();
        rgTarseneScope->SetItemIndex(scText);
        acTarseneFindExecute();
    });
    // The rows follow the typing, once it rests.
    m_typing = new QTimer(this);
    m_typing->setSingleShot(true);
    m_typing->setInterval(kTypingPause);
    connect(edTarseneText, &QLineEdit::textEdited, this, [this] {
        rgTarseneScope->SetItemIndex(scText);
        m_typing->start();
    });
    connect(m_typing, &QTimer::timeout, this, [this] {
        m_rows = GuestSearch::PageRows;
        ShowRows();
    });
    btnTarseneMore = new QToolButton(gbTarsene);
    btnTarseneMore->setObjectName(QStringLiteral("btnTarseneMore"));
    btnTarseneMore->setText(QStringLiteral("Още…"));
    btnTarseneMore->hide();
    connect(btnTarseneMore, &QToolButton::clicked, this, [this] {
        m_rows += GuestSearch::PageRows;
        ShowRows();
    });
    dtpTarseneDay = AddDate(gbTarsene, QStringLiteral("lInfoTarseneDay"), QStringLiteral("Ден"),
                            QStringLiteral("dtpTarseneDay"), QDate::currentDate());
    rgTarseneScope = new TRadioGroup(tsTarsene);
    rgTarseneScope->setObjectName(QStringLiteral("rgTarseneScope"));
    rgTarseneScope->setTitle(QStringLiteral("Покажи"));
    rgTarseneScope->SetItems({QStringLiteral("Намерените по текста"), QStringLiteral("Настанените за деня"),
                              QStringLiteral("Предстоящите резервации")});
    rgTarseneScope->SetItemIndex(scText);
    static_cast<QBoxLayout *>(tsTarsene->layout())->addWidget(rgTarseneScope, 0, Qt::AlignTop);
    PlaceRow(gbTarsene, btnTarseneMore);
    connect(Grid(), &QTableView::doubleClicked, this, [this] { acTarseneFolioExecute(); });
    Grid()->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid()->setSelectionMode(QAbstractItemView::SingleSelection);
}

void TFTarsene::Search(TScope scope, const QString &text, const QDate &day)
{
    edTarseneText->setText(text);
    dtpTarseneDay->setDate(day);
    rgTarseneScope->SetItemIndex(scope);
    m_rows = GuestSearch::PageRows;
    InitializeWindow();
    ShowMore();
}

void TFTarsene::ShowRows()
{
    const int current = Grid()->currentIndex().row();
    ReloadList();
    ShowMore();
    if (current >= 0 && current < m_rows)
        Grid()->selectRow(current);
}

// The statement asks for one row more than it shows: that row says there are more.
void TFTarsene::ShowMore()
{
    const bool more = rgTarseneScope->ItemIndex() == scText && ListDataSet() && ListDataSet()->RecordCount() > m_rows;
    for (int row = 0; ListDataSet() && row < ListDataSet()->RecordCount(); ++row)
        Grid()->setRowHidden(row, row >= m_rows);
    btnTarseneMore->setVisible(more);
}

QString TFTarsene::ListSql() const
{
    switch (rgTarseneScope->ItemIndex()) {
    case scInHouse:
        return kColumns + QStringLiteral("WHERE k.q125 = 1 AND k.q34 <= :dDay AND k.q35 >= :dDay2 ORDER BY r.q44");
    case scComing:
        return kColumns + QStringLiteral("WHERE k.q125 = 0 AND k.q35 > :dDay ORDER BY k.q34, b.q124");
    default:
        // The beginnings of the name's words are enough; the other keys are whole.
        return GuestSearch::Statement(LocalConnection(), kColumns, edTarseneText->text(), m_rows).Sql;
    }
}

QList<TParameter> TFTarsene::ListParameters() const
{
    const QDate day = dtpTarseneDay->date();
    switch (rgTarseneScope->ItemIndex()) {
    case scInHouse:
        return {{QStringLiteral("dDay"), day}, {QStringLiteral("dDay2"), day}};
    case scComing:
        return {{QStringLiteral("dDay"), day}};
    default:
        return GuestSearch::Statement(LocalConnection(), kColumns, edTarseneText->text(), m_rows).Parameters;
    }
}

QList<TGridColumn> TFTarsene::GridColumns() const
{
    return {{"q124", colBookingNumber, 120},
            {"q29", colClientName, 190},
            {"q28", colClientID, 110},
            {"q133", colPassport, 100},
            {"q10", colHotel, 130},
            {"q44", colRoomNumber, 110},
            {"q34", colArrival, 100},
            {"q35", colDeparture, 100},
            {"q125", colStayStatus, 110, false, [](const TField &f) {
                 return f.IsNull() ? QString() : FrontDesk::StatusName(f.AsInteger());
             }}};
}

void TFTarsene::LoadCaptions()
{
    LoadToolbarCaptions(Toolbar());
    LoadFormCaption(this);
    LoadTabSheetCaption(tsTarsene);
    LoadContainerCaptions(gbTarsene);
    LoadRadioGroupCaptions(rgTarseneScope);
}

void TFTarsene::acTarseneFindExecute()
{
    m_rows = GuestSearch::PageRows;
    InitializeWindow();
    ShowMore();
    const QString text = edTarseneText->text().trimmed();
    if (rgTarseneScope->ItemIndex() == scText && !text.isEmpty() && ListDataSet() && ListDataSet()->RecordCount() == 0)
        TSystemWinOS::ShowMessageBox(msgNoBookingFound.arg(text), msgInformationTitle, 64);
}

int TFTarsene::SelectedBooking() const
{
    TAdoDataSet *rows = ListDataSet();
    const QModelIndex current = Grid()->selectionModel() ? Grid()->selectionModel()->currentIndex() : QModelIndex();
    if (!rows || rows->RecordCount() == 0)
        return 0;
    const int row = current.isValid() && current.row() < rows->RecordCount() ? current.row() : 0;
    return TField(QString(), rows->CellValue(row, rows->FieldIndex(QStringLiteral("q124")))).AsInteger();
}

int TFTarsene::SelectedStay() const
{
    TAdoDataSet *rows = ListDataSet();
    const QModelIndex current = Grid()->selectionModel() ? Grid()->selectionModel()->currentIndex() : QModelIndex();
    if (!rows || rows->RecordCount() == 0)
        return 0;
    const int row = current.isValid() && current.row() < rows->RecordCount() ? current.row() : 0;
    return TField(QString(), rows->CellValue(row, rows->FieldIndex(QStringLiteral("q123")))).AsInteger();
}

void TFTarsene::acTarseneFolioExecute()
{
    const int booking = SelectedBooking();
    if (booking == 0) {
        TSystemWinOS::ShowMessageBox(msgChooseRow, msgWarningTitle, 48);
        return;
    }
    emit FolioRequested(booking, SelectedStay());
}
