#pragma once

#include "ScriptedUi.h"
#include "services/AppServices.h"

#include <QTemporaryDir>
#include <memory>

// A temporary data home with its services, populated and seeded as on a first start.
class TestHome
{
public:
    TestHome();

    QString path() const { return m_dir.path() + u'/'; }
    AppServices &services() { return *m_services; }
    Database &db() { return m_services->database(); }
    Settings &settings() { return m_services->settings(); }
    ScriptedUi ui;

    // Builds the services again over the same folder, as a restart of the program would.
    AppServices &restart();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppServices> m_services;
};
