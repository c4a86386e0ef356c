#pragma once

enum class BillKind { ExpressSlip, AcceptanceDraft };
