#include "data/TPersonKDD.h"

void TPersonKDD::Reset()
{
    *this = TPersonKDD();
    ID = -1;
}
