// The main interface description: parsed from the bytes; when it is accepted, its objects are made,
// the root view is built and every view's picture is drawn as the display cycle would, at two pixels
// a point. Whatever the frames say, the pictures stay within the limits of PixelSize.h.

#include "FuzzTarget.h"
#include "platform/graphics/image/PixelSize.h"
#include "platform/ui/InterfaceLoader.h"
#include "platform/ui/UIView.h"

namespace {

using namespace dazed;

class FuzzDelegate : public UIApplicationDelegate {};

const ClassRegistry& registry()
{
    static const ClassRegistry r = [] {
        ClassRegistry made;
        made.registerDelegate<FuzzDelegate>("AppDelegate_Phone");
        made.registerDelegate<FuzzDelegate>("AppDelegate_Pad");
        made.registerController<UIViewController>("RootViewController");
        return made;
    }();
    return r;
}

void drawTree(UIView& view)
{
    const auto& picture = view.updateBackingStore(2.0f);
    // A view whose drawRect draws nothing shows its colour instead of a picture, or nothing at all
    // when transparent.
    const auto colour = view.backgroundColor();
    const bool showsSomething = view.isOpaque() || (colour && colour->rgba().alpha > 0.0f);
    fuzz::require(picture != nullptr || view.solidColour().has_value() ||
                      view.recordedDrawing().has_value() || !showsSomething,
                  "every view that shows something gets a picture, its drawing or its colour");
    for (const auto& sub : view.subviews())
        drawTree(*sub);
    if (!picture)
        return;
    fuzz::require(picture->pixelWidth() >= 1 && picture->pixelWidth() <= kMaxImageSide &&
                      picture->pixelHeight() >= 1 && picture->pixelHeight() <= kMaxImageSide,
                  "a view picture's sides lie within the limit");
    fuzz::require(std::int64_t{picture->pixelWidth()} * picture->pixelHeight() <=
                      kMaxImagePixels + picture->pixelWidth() + picture->pixelHeight() + 1,
                  "a view picture's area lies within the limit (give or take the rounding up)");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto description = parseInterfaceDescription(fuzz::bytes(data, size), "fuzz.json", registry());
    if (!description) {
        const std::string& message = description.error().message;
        fuzz::require(message.rfind("fuzz.json: ", 0) == 0, "the message names the file");
        fuzz::require(message.find('\n') == std::string::npos, "the message is one line");
        return 0;
    }
    LoadedInterface loaded = instantiateInterface(description.value(), registry());
    if (loaded.rootViewController)
        if (const auto& root = loaded.rootViewController->view())
            drawTree(*root);
    return 0;
}
