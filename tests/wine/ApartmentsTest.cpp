// Several single-threaded apartments of one process, each hosting its own control in its own
// window and building, reading and releasing a large tree at the same time as the others.
#include "HostedControl.h"

#include <memory>

using namespace comtest;

namespace {

constexpr int kNodes = 300000;
constexpr int kRounds = 3;
constexpr DWORD kWaitMs = 100000;

// Node i of apartment `id`: a mixed tree of roots with children and grandchildren.
int LevelOf(int i) { return i % 10 == 0 ? 0 : (i % 10 < 4 ? 1 : 2); }
std::wstring TextOf(int id, int i) { return L"a" + std::to_wstring(id) + L"-n" + std::to_wstring(i); }

// What one apartment found; read by the main thread once the apartment's thread has ended.
struct ApartmentRun {
    int id = 0;
    std::vector<std::string> problems;
    void Problem(const std::string& what) { problems.push_back("apartment " + std::to_string(id) + ": " + what); }
};

// The text part of a node info text: index SOH handle SOH level TAB text TAB ...
std::wstring NodeText(const std::wstring& info) {
    auto parts = Split(info, L'\x01');
    if (parts.size() < 3) return {};
    auto fields = Split(parts[2], L'\t');
    return fields.size() > 1 ? fields[1] : std::wstring();
}

void BuildReadRelease(ApartmentRun& run) {
    Container container;
    auto hosted = std::make_unique<HostedControl>(container);
    IRamvel* control = hosted->control.Get();

    std::wstring parm;
    for (int i = 0; i < kNodes; ++i)
        parm += std::to_wstring(LevelOf(i)) + L'\t' + TextOf(run.id, i) + (i + 1 < kNodes ? L"\n" : L"");
    Bstr lines = MakeBstr(parm);
    if (HRESULT hr = control->AddNodes(lines.Get()); hr != S_OK) return run.Problem("AddNodes " + winecheck::DescribeHr(hr));

    LONG count = 0;
    control->ChildrenNumber(0, &count);
    if (count != kNodes) run.Problem("count " + std::to_string(count));

    // Every 97th node by index, then the same node again through its handle.
    for (int i = 0; i < kNodes; i += 97) {
        BSTR info = nullptr;
        control->GetNode(i, &info);
        std::wstring byIndex = Take(info);
        control->GethNode(HandleOf(byIndex), &info);
        std::wstring byHandle = Take(info);
        if (NodeText(byIndex) != TextOf(run.id, i) || byHandle != byIndex) {
            run.Problem("node " + std::to_string(i) + " reads " + winecheck::Utf8(byIndex));
            return;
        }
        Pump();
    }
    if (HRESULT hr = control->Clear(); hr != S_OK) run.Problem("Clear " + winecheck::DescribeHr(hr));
    control->ChildrenNumber(0, &count);
    if (count != 0) run.Problem("count after Clear " + std::to_string(count));
    hosted.reset();
}

DWORD WINAPI ApartmentThread(void* parameter) {
    auto& run = *static_cast<ApartmentRun*>(parameter);
    if (FAILED(OleInitialize(nullptr))) {
        run.Problem("OleInitialize failed");
        return 1;
    }
    BuildReadRelease(run);
    OleUninitialize();
    return 0;
}

// Starts `count` apartments at once and waits for every one of them.
void RunTogether(int count, int round) {
    std::vector<ApartmentRun> runs(count);
    std::vector<HANDLE> threads;
    for (int i = 0; i < count; ++i) {
        runs[i].id = round * 10 + i;
        threads.push_back(CreateThread(nullptr, 0, ApartmentThread, &runs[i], 0, nullptr));
    }
    const DWORD waited = WaitForMultipleObjects(static_cast<DWORD>(count), threads.data(), TRUE, kWaitMs);
    if (!EXPECT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0)))
        winecheck::Abort(std::to_string(count) + " apartments did not finish within " + std::to_string(kWaitMs / 1000) + " s");
    for (HANDLE thread : threads) CloseHandle(thread);
    for (const ApartmentRun& run : runs)
        for (const std::string& problem : run.problems) EXPECT_EQ(problem, std::string());
}

}  // namespace

int main() {
    Apartment apartment;  // the main thread keeps the module loaded between rounds
    RAMVEL_CASE("apartments build, read and release their own trees at once") {
        for (int count : {2, 4}) {
            SCOPED_TRACE(std::to_string(count) + " apartments");
            for (int round = 0; round < kRounds; ++round) RunTogether(count, round);
        }
    }
    return winecheck::Report();
}
