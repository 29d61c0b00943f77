#include "platform/ui/InterfaceLoader.h"

#include "UITestSupport.h"
#include "platform/graphics/image/RasterSurface.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIScreen.h"
#include "tests/support/ReportedProblems.h"
#include "tests/support/ScratchFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace dazed {
namespace {

class FakeRoot : public UIViewController {
public:
    std::shared_ptr<UIButton> infoButton;
    int toggles = 0;
    int autorotationQuestions = 0;
    bool loadedWithButton = false;
    bool shouldAutorotateToInterfaceOrientation(int) override
    {
        ++autorotationQuestions;
        return true;
    }
    bool setOutlet(const std::string& name, const std::shared_ptr<UIView>& view) override
    {
        if (name != "infoButton")
            return false;
        infoButton = std::dynamic_pointer_cast<UIButton>(view);
        return true;
    }
    std::function<void()> actionNamed(const std::string& name) override
    {
        if (name == "toggleView")
            return [this] {
                ++toggles;
            };
        return {};
    }
    void viewDidLoad() override { loadedWithButton = infoButton != nullptr; }
};

// Records the launch: what it was handed and what it did.
class FakeDelegate : public UIApplicationDelegate {
public:
    static inline int launches = 0;
    static inline bool hadWindow = false, hadRoot = false;
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<UIViewController> root;
    void setWindow(std::shared_ptr<UIWindow> w) override { window = std::move(w); }
    void setRootViewController(std::shared_ptr<UIViewController> r) override { root = std::move(r); }
    void applicationDidFinishLaunching(UIApplication&) override
    {
        ++launches;
        hadWindow = window != nullptr;
        hadRoot = root != nullptr;
        // Each step that needs a missing object does nothing.
        if (root && window)
            window->addSubview(root->view());
        if (window)
            window->makeKeyAndVisible();
    }
};

ClassRegistry fakeRegistry()
{
    ClassRegistry r;
    r.registerDelegate<FakeDelegate>("AppDelegate_Phone");
    r.registerDelegate<FakeDelegate>("AppDelegate_Pad");
    r.registerController<FakeRoot>("RootViewController");
    return r;
}

std::string writeFile(const test::ScratchFolder& scratch, const std::string& name, const std::string& text)
{
    const auto path = scratch / name;
    std::ofstream(path) << text;
    return path.string();
}

std::string errorFor(const std::string& text, const std::string& name = "bad.json")
{
    const test::ScratchFolder scratch;
    const std::string path = writeFile(scratch, name, text);
    auto result = readInterfaceDescription(path, fakeRegistry());
    return result ? std::string("(loaded)") : result.error().message;
}

TEST(InterfaceDescription, TheShippedFilesLoadForBothFamilies)
{
    for (DeviceFamily family : {DeviceFamily::Phone, DeviceFamily::Tablet}) {
        HeadlessHost host;
        FakeDelegate::launches = 0;
        LaunchOptions options;
        options.family = family;
        options.interfacePath =
            std::string(DAZED_RESOURCE_DIR) +
            (family == DeviceFamily::Phone ? "/MainWindow_Phone.json" : "/MainWindow_Pad.json");
        auto launched = ApplicationLoop::launch(host, options, fakeRegistry());
        ASSERT_TRUE(launched) << launched.error().message;
        auto& loop = *launched.value();
        EXPECT_EQ(FakeDelegate::launches, 1);
        auto root = std::dynamic_pointer_cast<FakeRoot>(loop.interface().rootViewController);
        ASSERT_TRUE(root);
        ASSERT_TRUE(root->infoButton) << "the outlet is connected";
        EXPECT_TRUE(root->loadedWithButton) << "outlets are connected before viewDidLoad";
        // The info button is the shipped picture over a custom button, which draws nothing of its own.
        EXPECT_EQ(root->infoButton->buttonType(), UIButtonTypeCustom);
        const auto picture = root->infoButton->imageForState(UIControlStateNormal);
        ASSERT_TRUE(picture) << "InfoButton.png is in the resource folder";
        EXPECT_EQ(picture->size(), (CGSize{50, 50}));
        EXPECT_EQ(root->infoButton->frame().size, (CGSize{50, 50}));
        EXPECT_EQ(root->autorotationQuestions, 1) << "the controller in the window is asked once at launch";
        EXPECT_EQ(root->infoButton->superview(), root->view().get());
        const CGSize screen = portraitScreenSize(family);
        EXPECT_EQ(root->view()->frame(), CGRectMake(0, 0, screen.width, screen.height));
        EXPECT_EQ(UIScreen::mainScreen()->bounds().size, screen);

        // Pressing the info button runs its action on the controller.
        const CGPoint centre = root->infoButton->convertPointToScreen(root->infoButton->bounds().center());
        host.inject(TouchInput{{{1, UITouchPhase::Began, centre}}, 0});
        host.inject(TouchInput{{{1, UITouchPhase::Ended, centre}}, 0});
        loop.step();
        EXPECT_EQ(root->toggles, 1);
        EXPECT_GT(host.presentCount(), 0);

        // The picture's light ring crosses the horizontal through the button's centre, 11 to 13
        // points either side of it; the screen is black there without the picture.
        const CGPoint ringLeft = root->infoButton->convertPointToScreen({13, 25});
        const std::uint32_t pixel =
            host.lastPresented()->pixelAt(static_cast<int>(ringLeft.x), static_cast<int>(ringLeft.y));
        EXPECT_GT(pixel & 0xFFu, 0x80u) << std::hex << pixel;
    }
}

// A resource folder of the test's own, with a 24 x 24 picture in it.
class DescribedPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("DAZED_RESOURCE_DIR", m_dir.c_str(), 1);
        RasterSurface png(24, 24, 1.0);
        CGContextSetRGBFillColor(png.context(), 1, 1, 1, 1);
        CGContextFillRect(png.context(), CGRectMake(0, 0, 24, 24));
        const Result<std::string> encoded = png.encodePng();
        ASSERT_TRUE(encoded) << encoded.error().message;
        const std::string& bytes = encoded.value();
        std::ofstream(m_dir / "Picture.png", std::ios::binary) << bytes;
    }
    void TearDown() override { unsetenv("DAZED_RESOURCE_DIR"); }
    std::string write(const std::string& name, const std::string& text) const
    {
        std::ofstream(m_dir / name) << text;
        return (m_dir / name).string();
    }

    test::ScratchFolder m_scratch;
    std::filesystem::path m_dir = m_scratch.path();
};

constexpr const char* kTwoPictureButtons = R"({"delegate": "AppDelegate_Phone",
    "window": {"frame": [0, 0, 320, 480]},
    "rootViewController": {"class": "RootViewController", "view": {"frame": [0, 0, 320, 480], "subviews": [
      {"class": "UIButton", "buttonType": "custom", "image": "Picture.png", "frame": [265, 405, 50, 50],
       "action": "toggleView", "outlet": "infoButton"},
      {"class": "UIButton", "image": "Absent.png", "frame": [10, 10, 50, 50]},
      {"class": "UIButton", "frame": [10, 100, 50, 50]}]}}})";

TEST_F(DescribedPictures, AButtonGetsItsPictureAndAMissingOneLeavesItWithout)
{
    auto read = readInterfaceDescription(write("pictures.json", kTwoPictureButtons), fakeRegistry());
    ASSERT_TRUE(read) << read.error().message;
    const auto& rootView = read->rootView;
    ASSERT_TRUE(rootView);
    ASSERT_EQ(rootView->subviews.size(), 3u);
    EXPECT_EQ(rootView->subviews[0].image, "Picture.png");
    EXPECT_EQ(rootView->subviews[2].image, "");

    const test::ReportedProblems reported;
    const auto view = buildView(*rootView, nullptr);
    EXPECT_TRUE(reported.mention("Absent.png")) << "the missing picture is reported";
    ASSERT_EQ(view->subviews().size(), 3u);
    const auto pictured = std::dynamic_pointer_cast<UIButton>(view->subviews()[0]);
    const auto missing = std::dynamic_pointer_cast<UIButton>(view->subviews()[1]);
    const auto plain = std::dynamic_pointer_cast<UIButton>(view->subviews()[2]);
    ASSERT_TRUE(pictured && missing && plain);
    const auto picture = pictured->imageForState(UIControlStateNormal);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), (CGSize{24, 24}));
    EXPECT_EQ(picture, UIImage::imageNamed("Picture.png"));
    EXPECT_EQ(pictured->imageForState(UIControlStateHighlighted), picture) << "the normal state's serves";
    EXPECT_EQ(missing->imageForState(UIControlStateNormal), nullptr);
    EXPECT_EQ(missing->frame(), CGRectMake(10, 10, 50, 50));
    EXPECT_EQ(plain->imageForState(UIControlStateNormal), nullptr);
}

TEST_F(DescribedPictures, AnInterfaceWithAMissingPictureStillLaunchesAndShowsTheOthers)
{
    HeadlessHost host;
    FakeDelegate::launches = 0;
    LaunchOptions options;
    options.interfacePath = write("pictures.json", kTwoPictureButtons);
    const test::ReportedProblems reported;
    auto launched = ApplicationLoop::launch(host, options, fakeRegistry());
    ASSERT_TRUE(launched) << launched.error().message;
    EXPECT_EQ(FakeDelegate::launches, 1);
    auto& loop = *launched.value();
    auto root = std::dynamic_pointer_cast<FakeRoot>(loop.interface().rootViewController);
    ASSERT_TRUE(root && root->infoButton);
    EXPECT_TRUE(root->infoButton->imageForState(UIControlStateNormal));
    loop.step();
    // The white 24-point square is drawn centred in the 50-point button at (265, 405).
    ASSERT_TRUE(host.lastPresented());
    EXPECT_EQ(host.lastPresented()->pixelAt(290, 430), 0xFFFFFFFFu);
    EXPECT_EQ(host.lastPresented()->pixelAt(270, 410), 0xFF000000u);
}

TEST_F(DescribedPictures, APictureNameMustBeAString)
{
    const std::string path = write("bad.json", R"({"delegate": "AppDelegate_Phone", "rootViewController":
        {"class": "RootViewController", "view": {"frame": [0, 0, 1, 1], "subviews": [{"class": "UIButton",
        "frame": [0, 0, 1, 1], "image": 7}]}}})");
    auto result = readInterfaceDescription(path, fakeRegistry());
    ASSERT_FALSE(result);
    EXPECT_NE(result.error().message.find("rootViewController.view.subviews[0].image must be a string"),
              std::string::npos)
        << result.error().message;
}

TEST(InterfaceDescription, FrameNumbersOutOfRangeAreRefusedNamingTheFileAndTheValue)
{
    const auto rootFrame = [](const std::string& frame) {
        return R"({"delegate": "AppDelegate_Phone", "rootViewController": {"class": "RootViewController",
            "view": {"frame": )" +
               frame + "}}}";
    };
    const test::ScratchFolder scratch;
    const std::string path = writeFile(scratch, "MainWindow_Phone.json", rootFrame("[0, 0, 1e39, 480]"));
    auto result = readInterfaceDescription(path, fakeRegistry());
    ASSERT_FALSE(result);
    // Beyond the float range: it would become an infinite width.
    EXPECT_EQ(result.error().message,
              path + ": rootViewController.view.frame width 1e+39 is out of range (0 to 10000 points)");

    EXPECT_NE(errorFor(rootFrame("[0, 0, 100000, 100000]"))
                  .find("rootViewController.view.frame width 100000 is out of range (0 to 10000 points)"),
              std::string::npos);
    EXPECT_NE(
        errorFor(rootFrame("[-1e300, 0, 5, 5]")).find("frame x -1e+300 is out of range (-10000 to 10000"),
        std::string::npos);
    EXPECT_NE(errorFor(rootFrame("[0, 10000.5, 5, 5]")).find("frame y 10000.5 is out of range"),
              std::string::npos);
    EXPECT_NE(errorFor(rootFrame("[0, 0, 5, -0.25]")).find("frame height -0.25 is out of range (0 to"),
              std::string::npos);
    EXPECT_NE(
        errorFor(
            R"({"delegate": "AppDelegate_Phone", "window": {"frame": [0, 0, 320, 18446744073709551615]}})")
            .find("window.frame height 1.84467441e+19 is out of range"),
        std::string::npos);
    // A subview is checked like the root view, and each message is one line.
    const std::string nested = errorFor(R"({"delegate": "AppDelegate_Phone", "rootViewController":
        {"class": "RootViewController", "view": {"frame": [0, 0, 1, 1], "subviews": [{"frame": [0, 0, 1, 1e39]}]}}})");
    EXPECT_NE(nested.find("rootViewController.view.subviews[0].frame height 1e+39 is out of range"),
              std::string::npos)
        << nested;
    EXPECT_EQ(nested.find('\n'), std::string::npos);
}

TEST(InterfaceDescription, FramesAtTheLimitsLoad)
{
    const test::ScratchFolder scratch;
    const std::string path =
        writeFile(scratch, "edge.json",
                  R"({"delegate": "AppDelegate_Phone", "window": {"frame": [-10000, 10000, 0, 10000]}})");
    auto result = readInterfaceDescription(path, fakeRegistry());
    ASSERT_TRUE(result) << result.error().message;
    EXPECT_EQ(*result->windowFrame, CGRectMake(-10000, 10000, 0, 10000));
}

TEST(InterfaceDescription, TextIsReadLikeAFile)
{
    auto result = parseInterfaceDescription(
        R"({"delegate": "AppDelegate_Pad", "window": {"frame": [0, 0, 768, 1024]}})", "inline",
        fakeRegistry());
    ASSERT_TRUE(result) << result.error().message;
    EXPECT_EQ(result->delegateClass, "AppDelegate_Pad");
    auto bad = parseInterfaceDescription("{", "inline", fakeRegistry());
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().message, "inline: is not valid JSON");
}

TEST(InterfaceDescription, OnlyPlainFilesOfModestSizeAreRead)
{
    const test::ScratchFolder scratch;
    // A device would be read without end.
    auto device = readInterfaceDescription("/dev/zero", fakeRegistry());
    ASSERT_FALSE(device);
    EXPECT_EQ(device.error().message, "/dev/zero: cannot be read (missing or not a file)");
    const std::string big = writeFile(scratch, "big.json", std::string(kMaxInterfaceBytes + 1, ' '));
    auto tooBig = readInterfaceDescription(big, fakeRegistry());
    ASSERT_FALSE(tooBig);
    EXPECT_EQ(tooBig.error().message,
              big + ": too large for an interface description (at most 1048576 bytes)");
}

TEST(InterfaceDescription, BadFilesNameTheFileAndTheFault)
{
    const std::string missing = "/nonexistent/MainWindow_Phone.json";
    auto result = readInterfaceDescription(missing, fakeRegistry());
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().message.find(missing), 0u);

    EXPECT_NE(errorFor("{ \"delegate\": ").find("not valid JSON"), std::string::npos);
    EXPECT_NE(errorFor("").find("not valid JSON"), std::string::npos);
    EXPECT_NE(errorFor("[1, 2]").find("top level must be an object"), std::string::npos);
    EXPECT_NE(errorFor("{}").find("\"delegate\" is missing"), std::string::npos);
    EXPECT_NE(errorFor("{\"delegate\": 3}").find("\"delegate\" must be a string"), std::string::npos);
    EXPECT_NE(errorFor("{\"delegate\": \"Nobody\"}").find("unknown class \"Nobody\""), std::string::npos);
    EXPECT_NE(
        errorFor("{\"delegate\": \"AppDelegate_Phone\", \"window\": 5}").find("\"window\" must be an object"),
        std::string::npos);
    EXPECT_NE(errorFor("{\"delegate\": \"AppDelegate_Phone\", \"window\": {\"frame\": \"wide\"}}")
                  .find("window.frame"),
              std::string::npos);
    EXPECT_NE(errorFor("{\"delegate\": \"AppDelegate_Phone\", \"window\": {\"frame\": [0, 0, 1]}}")
                  .find("four numbers"),
              std::string::npos);
    EXPECT_NE(errorFor("{\"delegate\": \"AppDelegate_Phone\", \"rootViewController\": {}}")
                  .find("rootViewController.class is missing"),
              std::string::npos);
    EXPECT_NE(
        errorFor("{\"delegate\": \"AppDelegate_Phone\", \"rootViewController\": {\"class\": \"Other\"}}")
            .find("unknown class \"Other\""),
        std::string::npos);
    const std::string badSubview = R"({"delegate": "AppDelegate_Phone", "rootViewController": {"class":
        "RootViewController", "view": {"frame": [0, 0, 1, 1], "subviews": [{"class": "UIButton",
        "frame": [0, 0, 1, 1], "buttonType": 7}]}}})";
    EXPECT_NE(errorFor(badSubview).find("rootViewController.view.subviews[0].buttonType must be a string"),
              std::string::npos);
    EXPECT_NE(
        errorFor(R"({"delegate": "AppDelegate_Phone", "rootViewController": {"class": "RootViewController",
        "view": {"frame": [0, 0, 1, 1], "subviews": {}}}})")
            .find("subviews must be an array"),
        std::string::npos);
    // Every message is one line, starting with the file's path.
    const std::string message = errorFor("{\"delegate\": 3}", "named.json");
    EXPECT_EQ(message.find('\n'), std::string::npos);
    EXPECT_NE(message.find("/named.json: "), std::string::npos);
}

TEST(InterfaceDescription, UnknownOutletsAndActionsComeBackAsWarningsWithoutPrinting)
{
    const test::ScratchFolder scratch;
    HeadlessHost host;
    LaunchOptions options;
    options.interfacePath = writeFile(scratch, "unconnected.json", R"({"delegate": "AppDelegate_Phone",
        "window": {"frame": [0, 0, 320, 480]}, "rootViewController": {"class": "RootViewController",
        "view": {"frame": [0, 0, 320, 480], "subviews": [{"class": "UIButton", "frame": [0, 0, 9, 9],
        "action": "noSuchAction", "outlet": "noSuchOutlet"}]}}})");
    ::testing::internal::CaptureStderr();
    auto launched = ApplicationLoop::launch(host, options, fakeRegistry());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "the loader prints nothing itself";
    ASSERT_TRUE(launched) << launched.error().message;
    const auto& warnings = *launched.value()->interface().warnings;
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("no action \"noSuchAction\""), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("no outlet \"noSuchOutlet\""), std::string::npos) << warnings[1];
}

TEST(InterfaceDescription, LaunchReportsABadFileInsteadOfStarting)
{
    const test::ScratchFolder scratch;
    HeadlessHost host;
    LaunchOptions options;
    options.interfacePath = writeFile(scratch, "broken.json", "{ nope");
    auto launched = ApplicationLoop::launch(host, options, fakeRegistry());
    ASSERT_FALSE(launched);
    EXPECT_NE(launched.error().message.find("broken.json"), std::string::npos);
}

TEST(InterfaceDescription, AFileWithoutWindowOrRootControllerStillStarts)
{
    const test::ScratchFolder scratch;
    for (const char* text :
         {R"({"delegate": "AppDelegate_Phone"})",
          R"({"delegate": "AppDelegate_Phone", "window": {"frame": [0, 0, 320, 480]}})",
          R"({"delegate": "AppDelegate_Phone", "rootViewController": {"class": "RootViewController"}})"}) {
        HeadlessHost host;
        FakeDelegate::launches = 0;
        LaunchOptions options;
        options.interfacePath = writeFile(scratch, "partial.json", text);
        auto launched = ApplicationLoop::launch(host, options, fakeRegistry());
        ASSERT_TRUE(launched) << text;
        auto& loop = *launched.value();
        EXPECT_EQ(FakeDelegate::launches, 1) << text;
        // Touches and turns with nothing to receive them do nothing.
        host.inject(TouchInput{{{1, UITouchPhase::Began, {10, 10}}}, 0});
        host.inject(RotateInput{RotationDirection::Left});
        loop.step();
        EXPECT_GT(host.presentCount(), 0) << "an empty screen is still shown";
    }
}

TEST(LaunchOptions, DevicePicksTheFamilyAndOtherArgumentsAreLeftAlone)
{
    const char* phone[] = {"dazed", "summary"};
    auto p = parseLaunchOptions(2, phone);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->family, DeviceFamily::Phone);
    EXPECT_EQ(p->orientation, 1);

    const char* tablet[] = {"dazed", "--device", "tablet", "--interface=x.json", "--other"};
    auto t = parseLaunchOptions(5, tablet);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->family, DeviceFamily::Tablet);
    EXPECT_EQ(t->interfacePath, "x.json");
    const char* landscape[] = {"dazed", "--orientation=landscape"};
    EXPECT_EQ(parseLaunchOptions(2, landscape)->orientation, 3);
    const char* sideways[] = {"dazed", "--orientation", "sideways"};
    EXPECT_FALSE(parseLaunchOptions(3, sideways));

    const char* bad[] = {"dazed", "--device=watch"};
    auto b = parseLaunchOptions(2, bad);
    ASSERT_FALSE(b);
    EXPECT_NE(b.error().message.find("watch"), std::string::npos);
    const char* dangling[] = {"dazed", "--device"};
    EXPECT_FALSE(parseLaunchOptions(2, dangling));
    const char* quit[] = {"dazed", "--quit-after", "-3"};
    EXPECT_FALSE(parseLaunchOptions(3, quit));
}

} // namespace
} // namespace dazed
