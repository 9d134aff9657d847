// practice-room.exe: a stand-in for the chat client. Shipped as the practice room, where a user without the
// chat client sees the tool's lines as a chat room shows them; the demo and the tests drive it too.
//
// It shows a frame of class "AOL Frame25" with an MDI client area and document windows of class
// "AOL Child". A chat room has direct children of the six classes "_AOL_Static" (its caption),
// "RICHCNTLREADONLY" (the transcript), "_AOL_Combobox" (the people list), "_AOL_Icon" (Send), "RICHCNTL" (the
// input box) and "_AOL_Image" (an emblem), each a control of the system's under that name. Enter (WM_CHAR 13)
// in an input box, or a click of Send, submits the box's text as a line of its window and empties the box;
// the transcript shows the line's markup. Tab moves between the input box, Send, the transcript and the
// people list. Closing a room closes the practice room. The options are in Options.h, the log's format in LogFormat.h.
#include "Context.h"
#include "Controls.h"
#include "Frame.h"
#include "InputBox.h"
#include "MessageLoop.h"
#include "Options.h"
#include "Transcript.h"

#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

namespace practice_room {

namespace {

constexpr wchar_t kBoxCaption[] = L"Quenlow practice room";

// Everything the process holds. Never deleted: the windows, which are never destroyed, point into it until the
// process ends.
struct PracticeRoom {
    Context context;
    Options options;
    std::unique_ptr<Frame> frame;
    std::unique_ptr<InputBox> stray;
};

unsigned AllSignatureClasses() {
    unsigned all = 0;
    for (ClassId id : kSignature) all |= 1u << id;
    return all;
}

// Documents are listed back to front: the MDI area puts each new one in front.
std::vector<DocumentPlan> PlanDocuments(const Options& o, ClassNames names) {
    std::vector<DocumentPlan> plans;
    const unsigned all = AllSignatureClasses();
    for (int k = o.rooms; k >= 1; --k)
        plans.push_back({"Chat Room " + std::to_string(k), "room" + std::to_string(k), all, false, true});
    if (o.grandchildren) plans.push_back({"Nested", "nested", all, true});
    if (o.lacking)
        for (int k = 6; k >= 1; --k)
            plans.push_back({std::string("Without ") + names[kSignature[k - 1]], "lack" + std::to_string(k),
                             all & ~(1u << kSignature[k - 1])});
    for (int k = o.decoys; k >= 1; --k)
        plans.push_back({"Window " + std::to_string(k), "decoy" + std::to_string(k), (1u << kStatic) | (1u << kTranscript)});
    return plans;
}

void StartUp(PracticeRoom& room) {
    Context& context = room.context;
    const Options& options = room.options;
    if (!options.logPath.empty()) context.log.Open(options.logPath);
    {
        const WindowDc screen;
        if (!screen.get()) throw std::runtime_error("cannot read the screen's resolution");
        context.dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        throw std::runtime_error("cannot read the system's fonts");
    context.font.reset(CreateFontIndirectW(&metrics.lfMessageFont));
    if (!context.font) throw std::runtime_error("cannot create the font");
    context.classNames = kClassNames[options.mixedCase ? 1 : 0];

    Frame::Register(context);
    Document::Register(context);
    RegisterControlClasses(context);
    Transcript::Register(context);
    InputBox::Register(context);

    if (!options.noFrame) {
        room.frame = std::make_unique<Frame>(context, options.mixedCase);
        room.frame->CreateDocuments(PlanDocuments(options, context.classNames));
        room.frame->Show();
    }
    if (options.stray) {
        room.stray = std::make_unique<InputBox>(context, "stray");
        const RECT place{context.Scaled(810), context.Scaled(10), context.Scaled(1010), context.Scaled(90)};
        room.stray->Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, place, nullptr, 0);
    }
    if (!options.typed.empty()) {
        if (room.frame)
            for (const auto& document : room.frame->Documents()) document->Input().Type(options.typed);
        if (room.stray) room.stray->Type(options.typed);
    }
    // A failure inside a window procedure has been logged and ends the loop at once.
    if (context.failure.empty()) context.log.Write({"practice-room", "ready", std::to_string(GetCurrentProcessId())}, false);
}

// The frame, if it shows, owns the box.
HWND BoxOwner(const PracticeRoom& room) { return room.frame ? room.frame->Window() : nullptr; }

// False when the options are bad: reported, with the usage, on stderr and (unless a test said not to) in a box.
bool ParseCommandLine(PracticeRoom& room) {
    int argc = 0;
    const std::unique_ptr<wchar_t*, decltype(&LocalFree)> argv(CommandLineToArgvW(GetCommandLineW(), &argc), LocalFree);
    if (!argv) throw std::runtime_error("CommandLineToArgvW failed");
    try {
        room.options = ParseOptions(argc, argv.get());
        return true;
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "practice-room: %s\n%s\n", e.what(), kUsage);
        if (WantsErrorBox(argc, argv.get()))
            ShowErrorBox(nullptr, kBoxCaption, std::string("The practice room cannot start:\n") + e.what() + ".\n\n" + kUsage);
        return false;
    }
}

// The exit code: 0, 2 for bad options, 3 after a failure.
int Run(PracticeRoom& room) noexcept {
    Context& context = room.context;
    bool parsed = false;
    ::Guarded(
        [&] {
            if (!(parsed = ParseCommandLine(room))) return;
            StartUp(room);
            const int code = RunMessageLoop([&](MSG& message) { return room.frame && room.frame->TakeKeys(message); });
            if (context.exitCode == 0) context.exitCode = code;
        },
        [&](const char* what) { context.Fail(what); });
    if (!parsed && context.exitCode == 0) return 2;
    try {
        context.log.Write({"practice-room", "exit", std::to_string(context.exitCode)}, false);
    } catch (...) {
        // A log that cannot be written takes nothing more.
    }
    if (context.exitCode == 3 && room.options.errorBox) {
        try {
            ShowErrorBox(BoxOwner(room), kBoxCaption, "The practice room has stopped:\n" + context.failure + ".");
        } catch (...) {
            ShowErrorBox(BoxOwner(room), kBoxCaption, "The practice room has stopped.");  // no memory for the text
        }
    }
    return context.exitCode;
}

}  // namespace

}  // namespace practice_room

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    auto* room = new practice_room::PracticeRoom;
    room->context.instance = instance;
    return practice_room::Run(*room);
}
