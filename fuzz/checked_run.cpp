#include "fuzz/checked_run.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "engine/messages.h"
#include "engine/run_extraction.h"
#include "fuzz/box_log.h"
#include "tests/support/fault_plan.h"
#include "tests/support/temp_dir.h"

namespace sif::fuzz {

namespace {

using test::FaultPlan;

const test::TempDir& Scratch() {
    static const test::TempDir dir;
    return dir;
}

bool Delivered(const FaultPlan& plan, const PlannedFault& p) {
    return p.fault != os::Fault::None && plan.Calls(p.call) >= p.nth;
}

void Plan(FaultPlan& plan, const PlannedFault& p) {
    if (p.fault != os::Fault::None) {
        plan.At(p.call, p.nth, p.fault, p.count);
    }
}

void CheckGoodRun(const FuzzCase& c, const Expected& e, const std::string& before,
                  const std::string& after, const BoxLog& log, const FaultPlan& plan) {
    Check(after.size() == before.size() + e.output.size(), "a good run appended a wrong length");
    Check(after.compare(before.size(), std::string::npos, e.output) == 0,
          "a good run appended other bytes than the reference");
    Check(plan.Calls(os::Call::Cut) == 0, "a good run cut the target");
    Check(log.Count(kMsgReadWriteError) == 0 && log.Count(kMsgIncompleteAppend) == 0,
          "a good run showed an error");
    Check(log.Count(kMsgCreateTarget) == (e.createNotice && !c.targetExists ? 1 : 0),
          "the notice of a new target was wrong");
    std::vector<long long> notices;
    for (const LoggedBox& box : log.boxes()) {
        if (box.id == kMsgLineTooLong) {
            notices.push_back(box.targetSize);
        }
    }
    Check(notices.size() == e.noticesAt.size(), "wrong number of \"line too long\" notices");
    for (std::size_t i = 0; i < notices.size(); ++i) {
        const auto written = static_cast<long long>(before.size() + e.noticesAt[i]);
        // Gathered boxes may wait for later output, never come before theirs.
        Check(c.gatherBoxes ? notices[i] >= written : notices[i] == written,
              "a notice came with the wrong output before it");
    }
}

void CheckFailedRun(const std::string& before, const std::string& after, const BoxLog& log) {
    if (log.Count(kMsgIncompleteAppend) == 0) {
        Check(after == before, "a failed run left the target changed without saying so");
    } else {
        Check(after.size() > before.size(), "an incomplete append was reported for none");
    }
}

}  // namespace

const std::string& SourceName() {
    static const std::string name = Scratch().File("source");
    return name;
}

const std::string& TargetName() {
    static const std::string name = Scratch().File("target");
    return name;
}

ExtractRequest RequestFor(const FuzzCase& c, SourceKind kind, ExtractMode mode) {
    ExtractRequest request;
    request.szSource = SourceName();
    request.szTarget = TargetName();
    request.szLeft[0] = c.left;
    request.szRight[0] = c.right;
    request.nKind = kind;
    request.nMode = mode;
    request.bEnglish = c.english;
    return request;
}

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken check: %s\n", what);
        std::abort();
    }
}

bool RunAndCheck(const FuzzCase& c, bool readable, const ExtractRequest& request,
                 const Expected& expected) {
    test::WriteBytes(SourceName(), c.source);
    std::error_code ignored;
    std::filesystem::remove(TargetName(), ignored);
    const std::string before = c.targetExists ? c.earlier : std::string();
    if (c.targetExists) {
        test::WriteBytes(TargetName(), before);
    }
    Check(SetVectorLevel(c.level), "the chosen vector level does not run here");

    BoxLog log(TargetName(), c.gatherBoxes);
    RunOutcome outcome{};
    bool failed;
    {
        FaultPlan plan;
        Plan(plan, c.io);
        Plan(plan, c.cut);
        outcome = RunRequest(request, nullptr);
        failed = !readable || (c.io.fault == os::Fault::Fail && Delivered(plan, c.io));
        const std::string after = test::ReadBytes(TargetName());
        Check(after.compare(0, before.size(), before) == 0, "the earlier content changed");
        if (failed) {
            CheckFailedRun(before, after, log);
        } else {
            CheckGoodRun(c, expected, before, after, log, plan);
        }
    }
    Check(!log.boxes().empty() && log.boxes().back().id == outcome.closingId,
          "the run did not close with the box it reported");
    Check(outcome.closingId == (failed ? kMsgFileFailed : expected.closingId),
          failed ? "a failed run was reported as a success" : "a good run was reported failed");
    Check(IsErrorOutcome(outcome) == failed, "the outcome's error flag was wrong");
    return !failed;
}

}  // namespace sif::fuzz
