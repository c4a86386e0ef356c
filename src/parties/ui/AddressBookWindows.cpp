#include "parties/ui/AddressBookWindows.h"

#include "parties/ui/Tfm_PersonManage.h"
#include "parties/ui/Tfrm_PersonInfo.h"
#include "services/AppServices.h"

#include <QWidget>
#include <memory>

AddressBookWindows::AddressBookWindows(AppServices &services, QWidget *frame,
                                       std::function<void()> openImport)
    : QObject(frame)
    , m_services(services)
    , m_frame(frame)
    , m_openImport(std::move(openImport))
{
    Parties &parties = m_services.parties();
    parties.setAddressBook([this](const QString &unitType, const QString &title) {
        return fetchOnePerson(unitType, title);
    });
    parties.setDetailWindow([this](const PartyDetailRequest &request) { showDetail(request); });
}

AddressBookWindows::~AddressBookWindows()
{
    // The services outlive the frame; they must not call into windows that are gone.
    m_services.parties().setAddressBook({});
    m_services.parties().setDetailWindow({});
}

void AddressBookWindows::openManage()
{
    if (!m_manage)
        m_manage = new Tfm_PersonManage(m_services, *this, Tfm_PersonManage::Mode::Manage, m_frame);
    m_manage->exec();
}

std::optional<TPerson> AddressBookWindows::fetchOnePerson(const QString &unitType,
                                                          const QString &title)
{
    const auto list = std::make_unique<Tfm_PersonManage>(m_services, *this,
                                                         Tfm_PersonManage::Mode::Select, m_frame);
    list->startSelection(unitType, title);
    list->exec();
    return list->chosen();
}

void AddressBookWindows::showDetail(const PartyDetailRequest &request)
{
    Tfrm_PersonInfo &detail = detailWindow();
    detail.showParty(request.values, request.storedId);
    detail.setOpenedFromList(false);
    detail.exec();
}

void AddressBookWindows::openImport() const
{
    if (m_openImport)
        m_openImport();
}

Tfrm_PersonInfo &AddressBookWindows::detailWindow()
{
    if (!m_detail)
        m_detail = new Tfrm_PersonInfo(m_services, m_frame);
    return *m_detail;
}
