#pragma once
// An editor started as the program starts it, on a fake host.

#include <gtest/gtest.h>

#include <memory>

#include "app/Editor.h"
#include "support/FakeHost.h"

namespace stipple::testing {

class EditorFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        editor = std::make_unique<Editor>(host);
        editor->FormCreate();
    }

    Editor& ed() { return *editor; }
    // Centre of the 1-based cell (x, y) in surface pixels at the current pixel size.
    int at(int cell) const { return (cell - 1) * editor->pixelSize + editor->pixelSize / 2; }

    FakeHost host;
    std::unique_ptr<Editor> editor;
};

}  // namespace stipple::testing
