#include "templates/ui/ZoomHelper.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kLeast = 10; // typed; the wheel steps from 25
constexpr std::array kSteps{25, 50, 75, 100, 125, 150, 200, 300, 400};

} // namespace

ZoomHelper::ZoomHelper(QObject *parent)
    : QObject(parent)
{}

void ZoomHelper::setPercent(int percent)
{
    const int wanted = percent >= kLeast && percent <= kSteps.back() ? percent : 100;
    if (wanted == m_percent)
        return;
    m_percent = wanted;
    Q_EMIT scaleChanged(scale());
}

void ZoomHelper::zoomIn()
{
    const auto next = std::upper_bound(kSteps.begin(), kSteps.end(), m_percent);
    if (next != kSteps.end())
        setPercent(*next);
}

void ZoomHelper::zoomOut()
{
    const auto below = std::lower_bound(kSteps.begin(), kSteps.end(), m_percent);
    if (below != kSteps.begin())
        setPercent(*(below - 1));
}
