#include "TestHome.h"

#include <QFile>

TestHome::TestHome()
{
    // The vendor's site is the loopback address in tests: a frame whose clock reaches the
    // service check never asks anything beyond this machine.
    QFile config(path() + u"Config.ini");
    if (config.open(QIODevice::WriteOnly))
        config.write("[Online]\r\nHost=127.0.0.1\r\n");
    config.close();
    restart();
}

AppServices &TestHome::restart()
{
    m_services.reset();
    m_services = std::make_unique<AppServices>(ui, path());
    return *m_services;
}
