#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/fake_host.h"
#include "window/controls.h"
#include "window/drop_target.h"

namespace {

constexpr AllowedEffects copy = static_cast<AllowedEffects>(DropEffect::Copy);
constexpr AllowedEffects move = static_cast<AllowedEffects>(DropEffect::Move);
constexpr AllowedEffects link = static_cast<AllowedEffects>(DropEffect::Link);
constexpr AllowedEffects everyEffect = copy | move | link;

constexpr DragKeys noKeys{false, false};
constexpr DragKeys ctrl{true, false};
constexpr DragKeys shift{false, true};
constexpr DragKeys ctrlShift{true, true};

std::vector<std::string>& deliveredDrops() {
    static std::vector<std::string> drops;
    return drops;
}

// The window's drop handlers, with filesDropped only recorded.
HandlerTable recordingHandlers() {
    HandlerTable handlers;
    handlers.prepareWindow = [] { registerDropTarget(windowHandle()); };
    handlers.closeDropIntake = [] { unregisterDropTarget(windowHandle()); };
    handlers.acceptDroppedFile = [](const Text& paths) { deliveredDrops().emplace_back(paths.view()); };
    return handlers;
}

class DropTargetWindow : public testing::Test {
protected:
    void SetUp() override {
        deliveredDrops().clear();
        openWindow(host_, recordingHandlers());
    }

    // A whole drag: enter, then the drop, with the same keys and effects.
    DropAnswer dragAndDrop(const FakeDragData& data, DragKeys keys = noKeys, AllowedEffects allowed = everyEffect) {
        dragEnter(data, keys, allowed);
        return drop(data, keys, allowed);
    }

    FakeHost& host_ = freshFakeHost();
};

TEST(DropTargetEffect, FollowsTheKeysAndTheAllowedEffects) {
    struct Case {
        bool accepted;
        DragKeys keys;
        AllowedEffects allowed;
        DropEffect expected;
    };
    const Case cases[] = {
        {false, noKeys, everyEffect, DropEffect::None},  // the drag offers nothing accepted
        {true, noKeys, everyEffect, DropEffect::Copy},
        {true, noKeys, move | link, DropEffect::Move},
        {true, noKeys, link, DropEffect::Link},
        {true, noKeys, 0, DropEffect::None},
        {true, ctrl, everyEffect, DropEffect::Copy},
        {true, ctrl, move | link, DropEffect::None},
        {true, shift, everyEffect, DropEffect::Move},
        {true, shift, copy | link, DropEffect::None},
        {true, ctrlShift, everyEffect, DropEffect::None},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(dropEffectRule(test.accepted, test.keys, test.allowed), test.expected)
            << "accepted " << test.accepted << ", ctrl " << test.keys.control << ", shift " << test.keys.shift
            << ", allowed " << test.allowed;
    }
}

TEST(DropTargetPaths, JoinOnePathAloneAndSeveralEachEndedByCrLf) {
    EXPECT_EQ(joinDroppedPaths({}), "");
    EXPECT_EQ(joinDroppedPaths({"/a/one.png"}), "/a/one.png");
    EXPECT_EQ(joinDroppedPaths({"/a/one.png", "/b", "two.gif"}), "/a/one.png\r\n/b\r\ntwo.gif\r\n");
}

TEST_F(DropTargetWindow, RegistersOnceForTheReadyWindowAndRevokesWhenItCloses) {
    ASSERT_EQ(host_.dropRegistrations.size(), 1u);
    EXPECT_TRUE(host_.dropRegistrations[0].registered);
    EXPECT_EQ(host_.dropRegistrations[0].window, FakeHost::window);

    EXPECT_FALSE(registerDropTarget(FakeHost::window));
    EXPECT_EQ(host_.dropRegistrations.size(), 1u);

    raiseWindowDestroying();
    ASSERT_EQ(host_.dropRegistrations.size(), 2u);
    EXPECT_FALSE(host_.dropRegistrations[1].registered);
    EXPECT_EQ(host_.dropRegistrations[1].window, FakeHost::window);

    unregisterDropTarget(FakeHost::window);
    EXPECT_EQ(host_.dropRegistrations.size(), 2u);
}

TEST(DropTargetRegistration, ARefusedRegistrationIsNotTriedAgain) {
    FakeHost& host = freshFakeHost();
    host.dropRegistrationSucceeds = false;
    EXPECT_FALSE(registerDropTarget(FakeHost::window));
    EXPECT_FALSE(registerDropTarget(FakeHost::window));
    EXPECT_EQ(host.dropRegistrations.size(), 1u);
    unregisterDropTarget(0);
}

TEST_F(DropTargetWindow, EnteringAcceptsTextAndFileListsOnly) {
    struct Case {
        const char* offer;
        bool text, files, url, html;
        DropEffect expected;
    };
    const Case cases[] = {
        {"text", true, false, false, false, DropEffect::Copy},
        {"files", false, true, false, false, DropEffect::Copy},
        {"url", false, false, true, false, DropEffect::None},
        {"html", false, false, false, true, DropEffect::None},
        {"html with its text", true, false, false, true, DropEffect::Copy},
        {"nothing", false, false, false, false, DropEffect::None},
    };
    for (const Case& test : cases) {
        FakeDragData data;
        data.hasText = test.text;
        data.hasFiles = test.files;
        data.hasUrl = test.url;
        data.hasHtml = test.html;
        EXPECT_EQ(dragEnter(data, noKeys, everyEffect), test.expected) << test.offer;
        dragLeave();
    }
}

TEST_F(DropTargetWindow, DraggingOverKeepsTheVerdictOfEnteringUntilTheDragLeaves) {
    EXPECT_EQ(dragEnter(FakeDragData::ofFiles({"/x.png"}), noKeys, everyEffect), DropEffect::Copy);
    EXPECT_EQ(dragOver(shift, everyEffect), DropEffect::Move);
    EXPECT_EQ(dragOver(ctrlShift, everyEffect), DropEffect::None);
    EXPECT_EQ(dragOver(ctrl, everyEffect), DropEffect::Copy);
    dragLeave();
    EXPECT_EQ(dragOver(noKeys, everyEffect), DropEffect::None);
}

TEST_F(DropTargetWindow, DeliversTheDroppedPathsOnceAndRefusesTheDrop) {
    struct Case {
        std::vector<std::string> paths;
        std::string delivered;
    };
    const Case cases[] = {
        {{"/pictures/one.png"}, "/pictures/one.png"},
        {{"/p/a.png", "/p/b.gif", "/p"}, "/p/a.png\r\n/p/b.gif\r\n/p\r\n"},
        {{}, ""},
    };
    for (const Case& test : cases) {
        deliveredDrops().clear();
        const DropAnswer answer = dragAndDrop(FakeDragData::ofFiles(test.paths));
        EXPECT_EQ(answer.effect, DropEffect::Copy);
        EXPECT_FALSE(answer.accepted);
        EXPECT_EQ(deliveredDrops(), std::vector<std::string>{test.delivered});
    }
}

TEST_F(DropTargetWindow, TheKeysAtTheDropDecideWhetherAnythingArrives) {
    struct Case {
        DragKeys keys;
        AllowedEffects allowed;
        DropEffect effect;
    };
    const Case cases[] = {
        {ctrl, everyEffect, DropEffect::Copy},
        {shift, everyEffect, DropEffect::Move},
        {shift, copy, DropEffect::None},
        {ctrlShift, everyEffect, DropEffect::None},
        {noKeys, 0, DropEffect::None},
    };
    for (const Case& test : cases) {
        deliveredDrops().clear();
        const FakeDragData data = FakeDragData::ofFiles({"/p/a.png"});
        dragEnter(data, noKeys, everyEffect);
        const DropAnswer answer = drop(data, test.keys, test.allowed);
        EXPECT_EQ(answer.effect, test.effect);
        EXPECT_FALSE(answer.accepted);  // a "move" must never delete the original
        EXPECT_EQ(deliveredDrops().size(), test.effect == DropEffect::None ? 0u : 1u);
    }
}

TEST_F(DropTargetWindow, PlainTextIsAcceptedAndGoesNowhere) {
    const DropAnswer answer = dragAndDrop(FakeDragData::ofText("some words"));
    EXPECT_EQ(answer.effect, DropEffect::Copy);
    EXPECT_FALSE(answer.accepted);
    EXPECT_TRUE(deliveredDrops().empty());

    // File managers offer their file lists as text too: the files still arrive.
    FakeDragData both = FakeDragData::ofFiles({"/p/a.png"});
    both.hasText = true;
    both.textContent = "/p/a.png";
    dragAndDrop(both);
    EXPECT_EQ(deliveredDrops(), std::vector<std::string>{"/p/a.png"});
}

TEST(DropTargetUnregistered, TakesNoDragBeforeTheWindowIsReadyOrOnceItCloses) {
    deliveredDrops().clear();
    FakeHost& host = freshFakeHost();
    const FakeDragData data = FakeDragData::ofFiles({"/p/a.png"});
    EXPECT_EQ(dragEnter(data, noKeys, everyEffect), DropEffect::None);

    openWindow(host, recordingHandlers());
    raiseWindowDestroying();
    EXPECT_EQ(dragEnter(data, noKeys, everyEffect), DropEffect::None);
    EXPECT_EQ(drop(data, noKeys, everyEffect).effect, DropEffect::None);
    EXPECT_TRUE(deliveredDrops().empty());
}

}  // namespace
