#pragma once

#include "data/Parties.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class AppServices;
class QWidget;
class Tfm_PersonManage;
class Tfrm_PersonInfo;

// The two address book windows as the main frame holds them: the list in manage mode and the
// detail window are made on first use and kept; a list in select mode lives for one choice.
// While it exists, Parties::fetchOnePerson and savePersonFromBill open these windows.
class AddressBookWindows : public QObject
{
    Q_OBJECT
public:
    // `openImport` opens the spreadsheet import for the address book.
    AddressBookWindows(AppServices &services, QWidget *frame, std::function<void()> openImport);
    ~AddressBookWindows() override;

    // Manage mode, modal.
    void openManage();
    std::optional<TPerson> fetchOnePerson(const QString &unitType, const QString &title);
    // The detail window for a bill's party (savePersonFromBill), modal.
    void showDetail(const PartyDetailRequest &request);
    void openImport() const;

    Tfrm_PersonInfo &detailWindow();

private:
    AppServices &m_services;
    QWidget *m_frame;
    std::function<void()> m_openImport;
    QPointer<Tfm_PersonManage> m_manage;
    QPointer<Tfrm_PersonInfo> m_detail;
};
