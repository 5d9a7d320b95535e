#pragma once
// The hotels register: a hotel's number, name and counts of rooms of each kind.

#include "framework/URegister.h"

class TFNomHotels : public TRegisterWindow
{
    Q_OBJECT
public:
    explicit TFNomHotels(QWidget *parent = nullptr);

    void acFNomHotelsSaveExecute();
    void acFNomHotelsCloseExecute();

    QAction *acFNomHotelsSave, *acFNomHotelsClose;
    TTabSheet *tsSLUJEBNI, *tsPERSONALNI, *tsNomHotelFirm;
    QGroupBox *gbNomHotel, *gbNomHotelsRooms, *gbNomHotelFirm;
    // The hotel's company, the seller on its invoices.
    QLineEdit *edNomHotelFirmName, *edNomHotelEik, *edNomHotelVat, *edNomHotelAddress, *edNomHotelMol,
        *edNomHotelIban, *edNomHotelBank, *edNomHotelEsti;
    QLineEdit *edNomHotesId, *edNomHotesName, *edNomHotesOneRooms, *edNomHotesTwoRooms, *edNomHotesThreeRooms,
        *edNomHotesFourRooms, *edNomHotesFiveRooms, *edNomHotesSixRooms, *edNomHotesStudia, *edNomHotesVip,
        *edNomHotesPersonal;

protected:
    QString ListSql() const override { return QStringLiteral("SELECT * FROM HotelBuild "); }
    QList<TGridColumn> GridColumns() const override;
    void LoadCaptions() override;
    void showEvent(QShowEvent *event) override;
    void RowChosen(int row) override;

private:
    void SaveSeller(TADOConnection &connection, int hotel);
    bool m_placementSavedOnShow = false;
};
