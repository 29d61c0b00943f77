#include "render/ChartSetup.h"

#include "render/QuartzView.h"

namespace dazed {

std::shared_ptr<QuartzView> makeChartView(const ChartSetup& s)
{
    auto view = std::make_shared<QuartzView>(CGRectMake(0, 0, s.width, s.height));
    view->setOpaque(true);
    view->writexs(s.ra, s.dec, s.width, s.height);
    view->setEch(s.zoom);
    for (int i = 0; i < s.labelMode; ++i)
        view->writeStarNames();
    return view;
}

} // namespace dazed
