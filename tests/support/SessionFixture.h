#pragma once
// A session started as the program starts it, on a fake host, with every command at hand.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/Commands.h"
#include "editor/ExportCommands.h"
#include "editor/FileCommands.h"
#include "editor/MouseTools.h"
#include "editor/SelectionCommands.h"
#include "editor/Session.h"
#include "editor/ViewCommands.h"
#include "support/FakeHost.h"
#include "support/StateChange.h"
#include "support/TestFiles.h"

namespace stipple::testing {

class SessionFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        session = std::make_unique<Session>(host);
        session->start();
    }

    Session& s() { return *session; }
    const Session& s() const { return *session; }
    const Picture& picture() const { return session->picture(); }
    // Sets up state for a test as one edit without a history step.
    template <typename Change>
    void change(Change&& apply) {
        changeState(*session, std::forward<Change>(apply));
    }
    void setPicture(const std::vector<std::string>& rows) {
        change([&](SessionState& st) { testing::setPicture(st.picture(), rows); });
    }
    // The picture's size, announced but not a step of the history.
    void resize(int width, int height) {
        session->edit(Step::None, [&](SessionState& st) {
            st.picture().width = width;
            st.picture().height = height;
            return Changes{changed::kSize};
        });
    }
    void setBox(const std::vector<std::string>& rows) {
        change([&](SessionState& st) { testing::setBox(st.selection, rows); });
    }
    // A new session with a new host, as the program starts.
    void restart() {
        session.reset();
        host = FakeHost{};
        SetUp();
    }
    // The picture as rows of digits, the top row first.
    std::vector<std::string> pictureRows() const {
        std::vector<std::string> rows;
        for (int y = 1; y <= picture().height; ++y) {
            std::string row;
            for (int x = 1; x <= picture().width; ++x) {
                row += static_cast<char>('0' + picture().pixels[x][y]);
            }
            rows.push_back(row);
        }
        return rows;
    }
    // Centre of the 1-based cell in surface pixels at the current pixel size.
    int at(int cell) const { return (cell - 1) * session->pixelSize() + session->pixelSize() / 2; }

    FakeHost host;
    std::unique_ptr<Session> session;
};

}  // namespace stipple::testing
