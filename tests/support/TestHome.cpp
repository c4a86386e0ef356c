#include "TestHome.h"

TestHome::TestHome()
{
    restart();
}

AppServices &TestHome::restart()
{
    m_services.reset();
    m_services = std::make_unique<AppServices>(ui, path());
    return *m_services;
}
