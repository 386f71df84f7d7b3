#pragma once
// Shared by the control tests: a scripted presenter for dialogs and helpers over the
// recorded drawing.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/graphics.h"
#include "platform/ui/presenter.h"

namespace vel::test {

struct ControlsTest : ::testing::Test {
    void SetUp() override { SetPresenter(&presenter); }
    void TearDown() override {
        Application().ProcessMessages();
        SetPresenter(nullptr);
    }
    std::vector<std::string> DialogTexts() const {
        std::vector<std::string> out;
        for (const auto& s : presenter.shown) out.push_back(s.request.text);
        return out;
    }
    ScriptedPresenter presenter;
};

inline std::vector<DrawOp> OpsOf(const TCanvas& canvas, DrawOp::Kind kind) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : canvas.Ops())
        if (op.kind == kind) out.push_back(op);
    return out;
}

}  // namespace vel::test
