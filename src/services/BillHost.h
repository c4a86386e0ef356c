#pragma once

class AppServices;
class QAction;
class QString;

// What a bill window asks of the window that hosts it: the services, the template the frame
// shows as current, the default-drawer option and the frame's own commands. The main frame
// implements it, so bill windows never depend on the shell above them.
class BillHost
{
public:
    virtual ~BillHost() = default;

    virtual AppServices &services() = 0;
    virtual int currentCheckTypeId() const = 0;
    virtual void setCurrentCheckTypeId(int id) = 0;
    virtual bool useDefaultDrawer() const = 0;
    virtual QAction *menuItem(const QString &objectName) const = 0;

    virtual void openAddressRecognition() = 0;
    virtual void openExpressBatchPrint() = 0;
    virtual void openDraftBatchPrint() = 0;
};
