#include "base/Resources.h"

#include <QtGlobal>

void registerResources()
{
    Q_INIT_RESOURCE(lanyan);
}
