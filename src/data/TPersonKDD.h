#pragma once

#include "data/TPerson.h"

// An express slip receiver as it goes into the batch-printing list, which also carries the
// goods description and the destination station.
class TPersonKDD : public TPerson
{
public:
    // ID -1 and every text empty, the two added ones included.
    void Reset();

    QString GoodsDesc; // the batch list's 内件说明
    QString DestSite;  // the batch list's 目的站
};
