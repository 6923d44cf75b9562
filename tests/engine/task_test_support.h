// Fixture of the conversion task tests: the converter libraries loaded, one prepared task and
// the engine log lines it wrote.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/logger.h"
#include "engine/transcoder.h"
#include "platform/framework/core/strings.h"
#include "tests/engine/engine_test_support.h"

namespace engine_test {

struct TLogLine {
    TLogLevel Level;
    String Text;
};

class TaskFixture : public LibrariesFixture {
protected:
    void SetUp() override
    {
        LoadOrFail(ConverterLibraries);
        DefaultLogger()->SetOnLog([this](TObject*, uint32_t, TLogLevel ALevel, const String& AText) {
            Lines.push_back(TLogLine{ALevel, AText});
        });
        Task = std::make_unique<TFFmpeg>(4);
        Task->ResetConverter();
    }
    void TearDown() override
    {
        Task.reset();
        DefaultLogger()->SetOnLog(nullptr);
        LibrariesFixture::TearDown();
    }

    bool Logged(TLogLevel ALevel, const String& AText) const
    {
        for (const TLogLine& line : Lines)
            if (line.Level == ALevel && line.Text == AText) return true;
        return false;
    }

    // The message of the failure that running AStep raises; empty when it raises none.
    template <class F>
    static std::string FailureOf(F AStep)
    {
        try {
            AStep();
        } catch (const Exception& e) {
            return e.what();
        }
        return std::string();
    }

    std::unique_ptr<TFFmpeg> Task;
    std::vector<TLogLine> Lines;
};

}  // namespace engine_test
