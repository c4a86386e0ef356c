#include "app/Resources.h"

#include <QtGlobal>

void registerResources()
{
    Q_INIT_RESOURCE(lanyan);
}
