#include "app/AutoPlaceRender.h"

#include "app/SettingsStore.h"

#include <ostream>

namespace dazed {

RenderStatus runAutoPlaceRender(const AutoPlaceRender& pending, const AskLocation& ask, std::ostream& err)
{
    const auto answer = ask(placeTimeout(pending.timeoutSeconds));
    AutoPlace found = chooseAutoPlace(answer, std::nullopt);
    if (!found.fromSystem) {
        // The settings are read only when they are needed, so that a bad file is not complained
        // about when the system answered.
        SettingsStore store(settingsPathFromEnvironment(),
                            [&err](const std::string& line) { err << "dazed render: " << line << "\n"; });
        found = chooseAutoPlace(answer, store.load().place);
    }
    if (!found.place) {
        err << "dazed render: --place auto: " << found.note << "; give --place LAT,LON\n";
        return RenderStatus::BadOption;
    }
    if (!found.note.empty())
        err << "dazed render: --place auto: " << found.note << "\n";
    RenderRequest request = pending.request;
    request.centre = withPlace(request.centre, *found.place);
    auto plan = checkRenderRequest(request);
    if (!plan) {
        err << "dazed render: " << plan.error().message << "\n";
        return RenderStatus::BadOption;
    }
    return drawRender(plan.value(), err);
}

} // namespace dazed
