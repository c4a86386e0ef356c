#pragma once

#include "services/BillHost.h"

#include <QHash>
#include <QObject>
#include <QStringList>

class QAction;

// A stand-in for the main frame under a bill window: it keeps the current template and the
// default-drawer option, and writes down which of its commands the window asked for, as
// "menu:NAME" for a menu item triggered and "addressRecognition", "expressBatch",
// "draftBatch" for the frame's own commands.
class FakeBillHost : public QObject, public BillHost
{
public:
    explicit FakeBillHost(AppServices &services)
        : m_services(services)
    {}

    AppServices &services() override { return m_services; }
    int currentCheckTypeId() const override { return m_currentTemplate; }
    void setCurrentCheckTypeId(int id) override { m_currentTemplate = id; }
    bool useDefaultDrawer() const override { return defaultDrawer; }
    QAction *menuItem(const QString &objectName) const override;

    void openAddressRecognition() override { asked << QStringLiteral("addressRecognition"); }
    void openExpressBatchPrint() override { asked << QStringLiteral("expressBatch"); }
    void openDraftBatchPrint() override { asked << QStringLiteral("draftBatch"); }

    bool defaultDrawer = true;
    QStringList asked;

private:
    AppServices &m_services;
    int m_currentTemplate = 0;
    mutable QHash<QString, QAction *> m_menuItems;
};
