// Loads, saves and commits that tell a progress hook how far they got, and that the user cancels
// part way: the open model, its files, its flag and the trace log stay as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <utility>
#include <vector>

#include "ModelGenerator.h"
#include "document/ModelDocument.h"
#include "platform/FileProgress.h"
#include "platform/TraceLog.h"
#include "support/ModelFixture.h"
#include "support/SceneDump.h"
#include "support/StrictPrompt.h"

namespace y4 {
namespace {

using test::TempDir;

// Keeps every report and cancels at the first one that reaches `cancelAt` of the total (never
// when it is over 1).
class RecordingProgress : public FileProgress {
public:
    explicit RecordingProgress(double cancelAt = 2) : cancelAt_(cancelAt) {}
    bool report(std::uint64_t done, std::uint64_t total) override {
        reports.emplace_back(done, total);
        return static_cast<double>(done) < cancelAt_ * static_cast<double>(total);
    }
    // Each report within the total and no smaller than the one before.
    void expectSteadyReports() const {
        ASSERT_FALSE(reports.empty());
        for (std::size_t k = 0; k < reports.size(); ++k) {
            EXPECT_EQ(reports[k].second, reports.front().second);
            EXPECT_LE(reports[k].first, reports[k].second);
            if (k > 0) {
                EXPECT_GE(reports[k].first, reports[k - 1].first);
            }
        }
    }
    std::vector<std::pair<std::uint64_t, std::uint64_t>> reports;

private:
    double cancelAt_;
};

std::set<std::string> filesIn(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// A model of about seven megabytes: several windows of the line reader.
std::string writeLargeModel(const TempDir& dir) {
    gen::GeneratorOptions options;
    options.faces = 60000;
    options.groups = 80;
    options.seed = 3;
    const std::string path = dir.file("LARGE.Y4P");
    gen::ModelGenerator::write(options, path);
    return path;
}

std::string traceText(const TempDir& dir) {
    TraceLog::global().flush();
    return TempDir::read(dir.file("Y4Editor.log"));
}

TEST(ModelDocumentProgress, ACancelledLoadLeavesTheOpenModelAsItWasAndAFullOneReportsToTheEnd) {
    TempDir dir;
    const std::string large = writeLargeModel(dir);
    const auto size = static_cast<std::uint64_t>(std::filesystem::file_size(large));
    ASSERT_GT(size, std::uint64_t{6} << 20);
    const std::string crate = test::ModelFixture::copySample(dir, "CRATE.Y4P");
    // One thread, a second thread from the middle, and the automatic choice; cancels early,
    // half way and late.
    const std::uint64_t splits[] = {Reader::kNoSplit, size / 2, Reader::kSplitAutomatic};
    for (const std::uint64_t split : splits) {
        for (const double cancelAt : {0.25, 0.5, 0.9}) {
            SCOPED_TRACE(testing::Message() << "split " << split << ", cancel at " << cancelAt);
            Reader::Options options;
            options.parseSplit = split;
            options.loadImages = false;
            ModelDocument document(options);
            ASSERT_TRUE(document.load(crate));
            document.selectRecord(document.reader()->faces[0]);
            ASSERT_TRUE(document.toggleDeleted(document.reader()->faces[0]));
            ASSERT_TRUE(document.commit());
            const std::string before = test::SceneDump::text(*document.reader());

            ASSERT_TRUE(TraceLog::global().open(dir.file("Y4Editor.log")));
            RecordingProgress cancelling(cancelAt);
            EXPECT_FALSE(document.load(large, &cancelling));
            // Nothing was shown (the strict prompt fails on any message) and the load went no
            // further than the Reader.
            EXPECT_EQ(traceText(dir), "OnButtonLoad - before new Reader()\n");
            TraceLog::global().close();
            cancelling.expectSteadyReports();
            EXPECT_EQ(cancelling.reports.back().second, size);
            EXPECT_GE(static_cast<double>(cancelling.reports.back().first),
                      cancelAt * static_cast<double>(size));

            EXPECT_EQ(test::SceneDump::text(*document.reader()), before);
            EXPECT_EQ(document.modelFile(), crate);
            EXPECT_EQ(document.modelPath(), ModelSource::chosen(crate).name);
            EXPECT_EQ(document.commitCounter(), 2);
            EXPECT_TRUE(document.isModified());
            EXPECT_GT(document.tree().size(), 0u);
            EXPECT_EQ(document.reader()->m_pEntityTree, &document.tree());

            // Let run, the same load reports up to the whole file and opens the model.
            RecordingProgress full;
            ASSERT_TRUE(document.load(large, &full));
            full.expectSteadyReports();
            EXPECT_EQ(full.reports.back(), std::make_pair(size, size));
            EXPECT_GE(full.reports.size(), 3u);
            EXPECT_EQ(document.reader()->faces.size(), 60000u);
            EXPECT_EQ(document.commitCounter(), 1);
        }
    }
}

TEST(ModelDocumentProgress, ACancelledSaveOrCommitLeavesTheFilesAndTheFlag) {
    TempDir dir;
    const std::string large = writeLargeModel(dir);
    Reader::Options options;
    options.loadImages = false;
    ModelDocument document(options);
    ASSERT_TRUE(document.load(large));
    document.selectRecord(document.reader()->entities[1]);
    document.scaleSelection(2, 2, 2);
    ASSERT_TRUE(document.isModified());
    const std::string original = TempDir::read(large);
    const std::set<std::string> files = filesIn(dir);

    // Cancelled at the first report between the start and the end: the target keeps every
    // byte, no temporary file is left, the flag stays and the save's last steps are not traced.
    ASSERT_TRUE(TraceLog::global().open(dir.file("Y4Editor.log")));
    RecordingProgress cancelling(0.01);
    EXPECT_FALSE(document.save(large, &cancelling));
    EXPECT_EQ(traceText(dir).find("OnButtonSave - Here 3"), std::string::npos);
    TraceLog::global().close();
    cancelling.expectSteadyReports();
    EXPECT_LT(cancelling.reports.back().first, cancelling.reports.back().second);
    EXPECT_EQ(TempDir::read(large), original);
    std::set<std::string> after = filesIn(dir);
    after.erase("Y4Editor.log");
    EXPECT_EQ(after, files);
    EXPECT_TRUE(document.isModified());

    // A commit cancelled the same way writes no snapshot and keeps its counter.
    RecordingProgress commitCancel(0.01);
    EXPECT_FALSE(document.commit(&commitCancel));
    EXPECT_EQ(TempDir::typeOf(dir.file("commit1.Y4P")), "missing");
    EXPECT_EQ(document.commitCounter(), 1);

    // Let run, the save reports every record up to the end and writes the scaled model.
    RecordingProgress full;
    ASSERT_TRUE(document.save(large, &full));
    full.expectSteadyReports();
    EXPECT_EQ(full.reports.back().first, full.reports.back().second);
    EXPECT_FALSE(document.isModified());
    EXPECT_NE(TempDir::read(large), original);
}

}  // namespace
}  // namespace y4
