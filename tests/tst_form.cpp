// The window's own logic without any toolkit: Form1's handlers against fake controls and
// services, the platform choices for every platform, and the skin file's checks.
#include "scrambler/scrambler.h"
#include "tempfolder.h"
#include "window/form/errorreport.h"
#include "window/form/form1.h"
#include "window/form/platform.h"
#include "window/form/scintilla.h"
#include "window/form/scintillabox.h"
#include "window/form/scintillacontent.h"
#include "window/form/skin.h"
#include "window/form/textfile.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <new>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace zanvo;
using zanvo::test::TempFolder;

namespace {

// What a fake's content collects, for the box or the clipboard; with fail set, each piece raises
// what the real one would.
struct Collected : TextBox::Content, Clipboard::Content {
    std::string text;
    const bool &fail;
    explicit Collected(const bool &failing) : fail(failing) { }
    template<class Error> void take(std::string_view piece, Error error)
    {
        if (fail)
            throw error;
        text += piece;
    }
    void add(const char *p, std::size_t n) override { take({p, n}, std::bad_alloc()); }
    void add(std::string_view piece) override { take(piece, RuntimeError::overflow()); }
    void reserve(std::size_t bytes) override { text.reserve(bytes); }
    void finish() override { }
};

class FakeBox : public TextBox {
public:
    std::string value;
    bool busy = false, pasting = false, failFill = false;
    std::string composing; // an input method's composition, which ending commits into the text
    std::string reads; // each read made while a composition was under way
    int shown = 0;
    std::size_t caretAt = 0;

    std::string_view read()
    {
        reads += composing.empty() ? "" : "half-typed ";
        return value;
    }
    std::string_view text() override { return read(); }
    bool isEmpty() override { return read().empty(); }
    void endComposition() override { value += std::exchange(composing, {}); }
    void setBusy(bool on) override { busy = on; }
    bool isBusy() const override { return pasting; }
    std::unique_ptr<Content> newContent() override { return std::make_unique<Collected>(failFill); }
    std::size_t caret() override { return caretAt; }
    void show(std::unique_ptr<Content> content, std::size_t caret) override
    {
        value = static_cast<Collected &>(*content).text;
        caretAt = caret;
        ++shown;
    }
};

// A UI thread that runs its tasks when the test says so.
class FakeUi : public UiThread {
public:
    void post(std::function<void()> task) override
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
        m_posted.notify_one();
    }
    // Runs the next task posted, waiting for it; false after ten seconds without one.
    bool runNext()
    {
        std::unique_lock lock(m_mutex);
        if (!m_posted.wait_for(lock, std::chrono::seconds(10), [&] { return !m_tasks.empty(); }))
            return false;
        auto task = std::move(m_tasks.front());
        m_tasks.pop_front();
        lock.unlock();
        task();
        return true;
    }
    bool idle()
    {
        std::lock_guard lock(m_mutex);
        return m_tasks.empty();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_tasks;
};

// Everything the handlers did to the window and the platform, in order, one entry a call.
struct Fakes : FormControls, FormServices, Clipboard {
    FakeBox box;
    std::vector<std::string> log;
    std::string copied = "left over"; // what the clipboard holds
    std::string folder = "/opt/zanvo";
    float now = 3600.25f;
    bool launcherStarts = true;
    bool failClipboard = false; // its content cannot be made
    ClipboardPut clipboardPut = ClipboardPut::Done; // how the next put ends

    TextBox &text1() override { return box; }
    void setBusy(bool busy) override { log.push_back(busy ? "busy" : "idle"); }
    void showProgress(std::chrono::milliseconds after) override
    {
        log.push_back("progress after " + std::to_string(after.count()));
    }
    void hideProgress() override { log.push_back("no progress"); }
    void messageBox(std::string_view prompt, std::string_view title) override
    {
        log.push_back("box " + std::string(title) + "|" + std::string(prompt));
        textUnderBox = box.value;
    }
    std::string textUnderBox; // what the box held while the last message box was up
    void endProgram(int status) override { log.push_back("end " + std::to_string(status)); }
    void applySkin(std::string_view sheet) override { log.push_back("skin " + std::string(sheet)); }

    float secondsSinceMidnight() override { return now; }
    Clipboard &clipboard() override { return *this; }
    std::unique_ptr<Content> newContent() override
    {
        return std::make_unique<Collected>(failClipboard);
    }
    ClipboardPut put(std::unique_ptr<Content> text) override
    {
        if (clipboardPut != ClipboardPut::Done)
            return clipboardPut;
        copied = static_cast<Collected &>(*text).text;
        log.push_back("copy");
        return ClipboardPut::Done;
    }
    std::optional<ClipboardText> text() override { return std::nullopt; }
    bool processStart(std::string_view program, const std::vector<std::string> &arguments,
                      bool minimised) override
    {
        std::string line = "start " + std::string(program);
        for (const auto &argument : arguments)
            line += " [" + argument + "]";
        log.push_back(line + (minimised ? " minimised" : ""));
        return launcherStarts;
    }
    std::string applicationFolder() override { return folder; }
};

const std::string prompt = "请填写需要伪原创的内容";
const std::string title = "Zanvo伪原创工具";
// The calls of a work that ran off the UI thread, and of a message box.
const std::vector<std::string> worked {"busy", "progress after 500", "no progress", "idle"};
const std::vector<std::string> workedAndCopied {"busy", "progress after 500", "no progress", "idle",
                                                "copy"};
std::string boxed(std::string_view text)
{
    return "box " + title + "|" + std::string(text);
}

class Form1Test : public ::testing::Test {
protected:
    Fakes fakes;
    FakeUi ui;
    RandomSource random;

    int finished = 0; // works ended

    // A new window, its log started afresh.
    std::unique_ptr<Form1> form(Platform platform = Platform::Linux)
    {
        fakes.log.clear();
        auto form1 = std::make_unique<Form1>(fakes, fakes, ui, random, platform);
        form1->onFinished([this] { ++finished; });
        return form1;
    }
    // Lets the one work under way, which copies nothing, end: nothing else was posted meanwhile.
    void endTheWork()
    {
        ASSERT_TRUE(ui.runNext());
        EXPECT_TRUE(ui.idle());
        EXPECT_EQ(fakes.log, worked);
        EXPECT_EQ(fakes.copied, "left over");
        EXPECT_FALSE(fakes.box.busy);
        EXPECT_EQ(finished, 1);
    }
    // Runs a handler through the guard and, where it started work, lets the work's end come back.
    void act(Form1 &form1, void (Form1::*handler)() = &Form1::Command1_Click)
    {
        form1.handle(handler);
        settle(form1);
    }
    void settle(Form1 &form1)
    {
        if (form1.busy()) {
            ASSERT_TRUE(ui.runNext());
        }
        EXPECT_FALSE(form1.busy());
    }
    // How many of the calls logged begin with what.
    auto logged(std::string_view what) const
    {
        return std::ranges::count_if(
            fakes.log, [&](const std::string &call) { return call.starts_with(what); });
    }
    std::string scrambled(std::string_view text)
    {
        RandomSource oracle;
        oracle.reseed(fakes.now);
        return scramble(text, oracle);
    }
};

} // namespace

TEST_F(Form1Test, EachStartReseedsFromTheClockShowsAndCopiesWithThePlatformsLineBreaks)
{
    const std::vector<std::string> texts {"一行文字 no break",
                                          "\r\n\r\n\r\n",
                                          "p\nq\r\nr\rs\r\nt",
                                          "\r\n网名一\r\n\r\n个性签名\r\n  \r\n网名二\r\n",
                                          "行1\r\n行2\r\n行3\r\n行4\r\n行5\r\n行6\r\n行7",
                                          std::string("a\xC2\xA0\x62\0c\r\nx\r", 10)};
    for (const Platform platform : {Platform::Linux, Platform::Windows}) {
        // Each Start reseeds from the clock, fraction and all, whatever was drawn before.
        for (const std::string &text : texts) {
            for (const float now : {3600.25f, 3600.5f}) {
                auto form1 = form(platform);
                fakes.now = now;
                fakes.box.value = text;
                act(*form1);
                EXPECT_EQ(fakes.box.value, scrambled(text));
                EXPECT_EQ(fakes.copied, copiedLineBreaks(platform, scrambled(text)));
                EXPECT_EQ(fakes.log, workedAndCopied);
                EXPECT_FALSE(fakes.box.busy);
            }
        }
    }
    // Where another program holds the clipboard, or the system emptied it and took no text, the
    // result stays in the box and a message says which.
    for (const auto &[put, message] :
         {std::pair {ClipboardPut::Held, form1::clipboardBusy},
          std::pair {ClipboardPut::Emptied, form1::clipboardEmptied}}) {
        auto form1 = form();
        fakes.clipboardPut = put;
        fakes.box.value = "甲\r\n乙";
        const std::string before = fakes.copied;
        act(*form1);
        EXPECT_EQ(fakes.box.value, scrambled("甲\r\n乙"));
        EXPECT_EQ(fakes.copied, before);
        EXPECT_EQ(fakes.log.back(), boxed(message));
    }
}

TEST_F(Form1Test, AnEmptyBoxPromptsOnceAndThePromptIsScrambledAsText)
{
    auto form1 = form();
    act(*form1);
    EXPECT_EQ(fakes.log.front(), boxed(prompt));
    // The prompt goes into the box once the person has read it, not before.
    EXPECT_EQ(fakes.textUnderBox, "");
    EXPECT_EQ(logged("box"), 1);
    EXPECT_EQ(fakes.box.value, prompt);
    EXPECT_EQ(fakes.copied, prompt);
}

// An input method's composition under way is committed before a handler reads the box, or the
// box's menu runs a command: nothing half-typed is read, and nothing typed is left out.
TEST_F(Form1Test, ACompositionEndsBeforeTheBoxIsRead)
{
    for (const auto handler :
         {&Form1::Command1_Click, &Form1::RemoveDuplicates_Click, &Form1::RemoveBlankLines_Click}) {
        auto form1 = form();
        fakes.box.value = "甲\r\n";
        fakes.box.composing = "乙";
        act(*form1, handler);
        EXPECT_EQ(fakes.box.reads, "");
        EXPECT_NE(fakes.box.value.find("乙"), std::string::npos) << fakes.box.value;
    }

    struct Calls : ScintillaCalls {
        std::vector<std::string> log;
        std::intptr_t send(unsigned message, std::uintptr_t, std::intptr_t) override
        {
            log.push_back(std::to_string(message));
            return 0;
        }
        void endComposition() override { log.push_back("end composition"); }
    } calls;
    ScintillaBox box(calls, ui, fakes);
    for (const EditCommand command :
         {EditCommand::Undo, EditCommand::Redo, EditCommand::Cut, EditCommand::Copy,
          EditCommand::Paste, EditCommand::Delete, EditCommand::SelectAll,
          EditCommand::RemoveDuplicates, EditCommand::RemoveBlankLines}) {
        calls.log.clear();
        box.run(command);
        ASSERT_FALSE(calls.log.empty());
        EXPECT_EQ(calls.log.front(), "end composition") << static_cast<int>(command);
    }
}

TEST_F(Form1Test, NoSecondStartWhileOneWorksOrTheBoxPastes)
{
    auto form1 = form();
    fakes.box.value = "a\r\nb";
    form1->handle(&Form1::Command1_Click);
    form1->handle(&Form1::Command1_Click);
    ASSERT_TRUE(ui.runNext());
    EXPECT_TRUE(ui.idle());
    EXPECT_EQ(logged("copy"), 1);
    fakes.log.clear();
    fakes.box.pasting = true;
    form1->handle(&Form1::Command1_Click);
    EXPECT_TRUE(fakes.log.empty());
    EXPECT_FALSE(form1->busy());
}

// 删除重复行 and 删除空白行 work as Start does, off the UI thread, but copy nothing.
TEST_F(Form1Test, RemovingLinesWorksAsStartDoesButCopiesNothing)
{
    struct Case {
        void (Form1::*handler)();
        std::string text, result, unchanged;
    };
    for (const Case &c : {
             Case {&Form1::RemoveDuplicates_Click, "乙\r\n甲\r\n\r\n乙\r\n \r\n\r\n \r\n甲",
                   "乙\r\n甲\r\n\r\n \r\n", "乙\r\n\r\n\r\n甲"},
             Case {&Form1::RemoveBlankLines_Click, "乙\r\n\u3000\r\n\r\n 甲\r\n \t\r\n",
                   "乙\r\n 甲\r\n", "乙\r\n 甲 \r\n"},
         }) {
        fakes = Fakes();
        finished = 0;
        auto form1 = form();
        fakes.box.value = c.text;
        form1->handle(c.handler);
        EXPECT_TRUE(fakes.box.busy);
        // Neither a Start nor a second removal while one works.
        form1->handle(&Form1::Command1_Click);
        form1->handle(c.handler);
        endTheWork();
        EXPECT_EQ(fakes.box.value, c.result);

        // A text with nothing to remove gets no step of its own to undo; an empty box no prompt.
        fakes.box.shown = 0;
        for (const std::string &text : {c.unchanged, std::string()}) {
            fakes.box.value = text;
            act(*form1, c.handler);
            EXPECT_EQ(fakes.box.value, text);
        }
        EXPECT_EQ(fakes.box.shown, 0);
        EXPECT_EQ(logged("box"), 0);
    }
}

TEST_F(Form1Test, ADroppedFileGoesInAtTheCaretAsOneStepOrIsRefusedWithTheBoxAsItWas)
{
    const TempFolder temp;
    const std::string list = temp.write("list.txt", "\xD2\xBB\n\xB6\xFE"); // 一, 二 in GBK
    auto form1 = form();
    fakes.box.value = "甲乙";
    fakes.box.composing = "丙";
    fakes.box.caretAt = 3;
    form1->Text1_OLEDragDrop({list});
    EXPECT_TRUE(fakes.box.busy);
    form1->Text1_OLEDragDrop({list});
    endTheWork();
    EXPECT_EQ(fakes.box.value, "甲一\r\n二乙丙");
    EXPECT_EQ(fakes.box.caretAt, 3);
    EXPECT_EQ(fakes.box.shown, 1);
    EXPECT_EQ(fakes.box.reads, "");

    // An empty file adds no step; a file refused, or several at once, leave the box as it was.
    const std::string several = boxed("一次只能拖入一个文件。");
    const std::string latin1 = temp.write("latin1.txt", "caf\xE9 \xFF");
    const std::string refused = boxed(
        "文件“" + latin1 + "”既不是 UTF-8 文本，也不是 GB18030（GBK、GB2312）文本，无法读入。");
    for (const auto &[files, message] : {
             std::pair {std::vector {temp.write("empty.txt", "")}, std::string()},
             std::pair {std::vector {latin1}, refused},
             std::pair {std::vector {list, list}, several},
         }) {
        fakes.log.clear();
        form1->Text1_OLEDragDrop(files);
        settle(*form1);
        EXPECT_EQ(fakes.box.value, "甲一\r\n二乙丙");
        EXPECT_EQ(fakes.box.shown, 1);
        EXPECT_FALSE(fakes.box.busy);
        EXPECT_EQ(logged(message.empty() ? "box" : message), message.empty() ? 0 : 1) << message;
        EXPECT_EQ(logged("end"), 0);
    }
    EXPECT_EQ(finished, 3);
}

TEST_F(Form1Test, ARunTimeErrorIsReportedAndEndsTheProgram)
{
    for (const bool inTheBox : {true, false}) {
        auto form1 = form();
        fakes.box.value = "a\r\nb";
        fakes.box.failFill = inTheBox;
        fakes.failClipboard = !inTheBox;
        act(*form1);
        auto calls = worked;
        calls.push_back(
            boxed(inTheBox ? "运行时错误 '7':\n\n内存不足" : "运行时错误 '6':\n\n溢出"));
        calls.push_back("end 1");
        EXPECT_EQ(fakes.log, calls);
        EXPECT_EQ(fakes.box.value, "a\r\nb");
        EXPECT_FALSE(fakes.box.busy);
    }
    auto form1 = form();
    form1->guard([] { throw std::runtime_error("broken"); });
    EXPECT_EQ(fakes.log, (std::vector<std::string> {boxed("运行时错误 '51':\n\nbroken"), "end 1"}));
    EXPECT_EQ(runGuarded([] { throw std::length_error("long"); }), "运行时错误 '7':\n\n内存不足");
    EXPECT_EQ(runGuarded([] { throw 1; }), "运行时错误 '51':\n\n内部错误");
    EXPECT_EQ(runGuarded([] {}), std::nullopt);
}

TEST_F(Form1Test, AStartUnderWayWhenTheWindowGoesIsWaitedFor)
{
    auto form1 = form();
    fakes.box.value = std::string(1 << 20, 'x') + "\r\ny";
    form1->handle(&Form1::Command1_Click);
    form1.reset();
    ASSERT_TRUE(ui.runNext());
    EXPECT_EQ(fakes.copied, "left over");
}

TEST_F(Form1Test, EachLinkClickStartsTheLauncherWithTheAddressAlone)
{
    const std::string address(form1::homePageAddress());
    EXPECT_EQ(form1::label2Text(), "Zanvo网盘   " + address + "   欢迎大家提出宝贵建议");
    const std::pair<Platform, std::string> launchers[] = {
        {Platform::Linux, "start xdg-open [" + address + "]"},
        {Platform::MacOS, "start open [" + address + "]"},
        {Platform::Windows, "start explorer.exe [" + address + "] minimised"},
    };
    for (const auto &[platform, started] : launchers) {
        auto form1 = form(platform);
        form1->handle(&Form1::Command2_Click);
        form1->handle(&Form1::Label2_Click);
        EXPECT_EQ(fakes.log, std::vector<std::string>(2, started));
    }
    auto form1 = form();
    fakes.launcherStarts = false;
    fakes.box.value = "用户的文字";
    form1->handle(&Form1::Label2_Click);
    ASSERT_EQ(fakes.log.size(), 2u);
    EXPECT_EQ(fakes.log[1], boxed("无法打开网页，请在浏览器中访问：\n" + address));
    EXPECT_EQ(fakes.box.value, "用户的文字");
}

TEST_F(Form1Test, FormLoadStylesTheWindowWithTheSkinBesideTheProgramWhereItPasses)
{
    const TempFolder temp;
    fakes.folder = temp.path.string();
    for (const std::string skin : {"", " \n", "a { color: red; }"}) {
        if (!skin.empty())
            temp.write("aero.she", skin);
        form()->handle(&Form1::Form_Load);
        EXPECT_EQ(fakes.log.size(), skin == "a { color: red; }" ? 1u : 0u) << skin;
    }
    EXPECT_EQ(fakes.log.back(), "skin a { color: red; }");
}

// Scintilla's 32-bit positions, which would wrap past 2 GiB, for texts well short of that only.
TEST(ScintillaBox, DocumentsFromAGibibyteOnCountTheirPositionsIn64Bits)
{
    struct Calls : ScintillaCalls {
        std::vector<std::intptr_t> wide;
        std::intptr_t send(unsigned message, std::uintptr_t, std::intptr_t options) override
        {
            if (message == sci::CREATELOADER)
                wide.push_back(options & sci::DOCUMENTOPTION_TEXT_LARGE);
            return 0;
        }
        void endComposition() override { }
    } calls;
    const std::size_t limit = ScintillaBox::narrowPositionsLimit, paste = 10;
    for (const std::size_t bytes : {limit - 1, limit, std::size_t(0)}) // 0: a size not known
        EXPECT_THROW(ScintillaContent::make(calls, true)->reserve(bytes), std::bad_alloc);
    const long large = sci::DOCUMENTOPTION_TEXT_LARGE;
    EXPECT_EQ(calls.wide, (std::vector<std::intptr_t> {0, large, large}));
    EXPECT_FALSE(ScintillaBox::pastesIntoNewDocument(limit - paste - 1, false, paste));
    EXPECT_TRUE(ScintillaBox::pastesIntoNewDocument(limit - paste, false, paste));
    EXPECT_FALSE(ScintillaBox::pastesIntoNewDocument(limit * 3, true, paste));
}

// The launchers and the skin's path are checked through Form1 above.
TEST(Platform, LineBreaksAndFoldersPerPlatform)
{
    EXPECT_EQ(plainTextLineBreak(Platform::Windows), "\r\n");
    EXPECT_EQ(plainTextLineBreak(Platform::MacOS), "\n");
    const std::string mixed = "a\nb\r\nc\rd\n";
    EXPECT_EQ(pastedLineBreaks(Platform::Linux, mixed), "a\r\nb\r\nc\rd\r\n");
    EXPECT_EQ(pastedLineBreaks(Platform::MacOS, "\n\n"), "\r\n\r\n");
    EXPECT_EQ(pastedLineBreaks(Platform::Windows, mixed), mixed);
    EXPECT_EQ(copiedLineBreaks(Platform::Linux, "a\r\nb\rc\nd\r\n"), "a\nb\rc\nd\n");
    EXPECT_EQ(copiedLineBreaks(Platform::Windows, "a\r\nb"), "a\r\nb");
    // A NUL on a clipboard that ends its text there, and on one that does not.
    const std::string nul("p\0q\r\n\0", 6);
    EXPECT_EQ(copiedLineBreaks(Platform::Windows, nul), "p q\r\n ");
    EXPECT_EQ(copiedLineBreaks(Platform::Linux, nul), std::string("p\0q\n\0", 5));
    // The folder as Qt writes it becomes the platform's own; a drive root keeps its backslash.
    EXPECT_EQ(nativeFolder(Platform::Windows, "C:/Program Files/Zanvo"),
              "C:\\Program Files\\Zanvo");
    EXPECT_EQ(nativeFolder(Platform::Windows, "D:/"), "D:\\");
    EXPECT_EQ(nativeFolder(Platform::MacOS, "/Applications/zanvo.app"), "/Applications/zanvo.app");
}

TEST(Skin, OnlyARegularFileOfUtf8TextWhoseUrlsNameFilesIsTaken)
{
    const TempFolder temp;
    const std::filesystem::path &dir = temp.path;
    const std::string folder = "QWidget { background-image: url(" + dir.string() + "); }";
    const std::pair<std::string, SkinStatus> skins[] = {
        {(dir / "missing.she").string(), SkinUnreadable},
        {dir.string(), SkinUnreadable},
        {temp.write("empty.she", " \n\t"), SkinEmpty},
        {temp.write("binary.she", std::string("\x89PNG\0\0\x01\x02", 8)), SkinNotText},
        {temp.write("latin1.she", "QWidget { color: \xe9; }"), SkinNotText},
        {temp.write("zero.she", std::string("QWidget { color: red; }\0", 24)), SkinNotText},
        {temp.write("over.she", "/*" + std::string((1 << 20) - 3, 'a') + "*/"), SkinTooLarge},
        {temp.write("limit.she", "/*" + std::string((1 << 20) - 4, 'a') + "*/"), SkinAttached},
        {temp.write("folder.she", folder), SkinBadReference},
        {temp.write("quoted.she", "a { b: URL( '" + dir.string() + "' ); }"), SkinBadReference},
        {temp.write("open.she", "a { b: url(" + std::string(100000, 'x')), SkinAttached},
        {temp.write("good.she", "QPushButton { color: red; background: url(nothing.png); }"),
         SkinAttached},
    };
    for (const auto &[path, status] : skins)
        EXPECT_EQ(readSkin(path).status, status) << path;
    EXPECT_EQ(readSkin(dir.string() + "/good.she").sheet,
              "QPushButton { color: red; background: url(nothing.png); }");
    // A name in Chinese, which Windows' ANSI calls could not spell.
    EXPECT_EQ(readSkin(temp.write("皮肤.she", "a { color: red; }")).sheet, "a { color: red; }");
#ifndef _WIN32
    // Neither a pipe as the skin nor one that a skin names may hold start-up up.
    ASSERT_EQ(::mkfifo((dir / "pipe.she").c_str(), 0600), 0);
    EXPECT_EQ(readSkin((dir / "pipe.she").string()).status, SkinUnreadable);
    EXPECT_EQ(
        readSkin(temp.write("named.she", "a { b: url(\"" + (dir / "pipe.she").string() + "\"); }"))
            .status,
        SkinBadReference);
    // Nor one spelled with the style sheet's escapes, in the name or in the function's name:
    // CSS takes the blank after a hex escape into it, where Qt's engine keeps it.
    for (const char *fifo : {"q ueue)", "rueue)", "it's", "网名"})
        ASSERT_EQ(::mkfifo((dir / fifo).c_str(), 0600), 0);
    const std::string at = dir.string() + "/";
    for (const std::string &reference :
         {"url(\"" + at + "\\70ipe.she\")", "url(" + at + "p\\000069pe.she)",
          "\\75rl(" + at + "pipe.she)", "\\55 \\52\\4C(" + at + "pipe.she)",
          "url('" + at + "pi\\pe\\.she')", "url(" + at + "p\\\nipe.she)",
          "url(" + at + "\\71 ueue\\29)", "url(" + at + "\\72 ueue\\29)", "url('" + at + "it\\'s')",
          "url(" + at + "\\7F51\\540D)"})
        EXPECT_EQ(readSkin(temp.write("escaped.she", "a { b: " + reference + "; }")).status,
                  SkinBadReference)
            << reference;
    // What escapes spell is checked as it is spelled: a file is a file.
    temp.write("queue", "x");
    EXPECT_EQ(
        readSkin(temp.write("good.she", "a { b: url(" + at + "\\71ueue) url('a\\'b'); }")).status,
        SkinAttached);
#endif
}

TEST(TextFile, OnlyARegularFileUpToTheLimitIsRead)
{
    const TempFolder temp;
    EXPECT_EQ(readTextFile(temp.write("lines.txt", "a\nb\r\nc\rd\n\n"), 12),
              "a\r\nb\r\nc\rd\r\n\r\n");
    const auto message = [](const std::string &name, std::size_t limit = textFileLimit) {
        try {
            readTextFile(name, limit);
        } catch (const FileRefused &refused) {
            return std::string(refused.what());
        }
        return std::string("read");
    };
    EXPECT_EQ(message(temp.write("over.txt", std::string((1 << 20) + 1, 'x')), 1 << 20),
              "文件“" + temp.name("over.txt") + "”太大：最多只能拖入 1 MB 的文件。");
    EXPECT_EQ(message(temp.name("missing.txt")), "找不到文件“" + temp.name("missing.txt") + "”。");
    // A name past Windows' 260 characters is found, as the command line finds one. The test's
    // own library tidies no folder that deep at once: it goes a level at a time.
    std::vector<std::filesystem::path> levels {temp.path};
    for (char letter = 'a'; letter < 'g'; ++letter)
        levels.push_back(levels.back() / std::string(50, letter));
    std::filesystem::create_directories(levels.back());
    const std::filesystem::path deep = levels.back() / "list.txt";
    std::ofstream(deep, std::ios::binary) << "x\ny";
    EXPECT_EQ(message(deep.string()), "read");
    std::filesystem::remove(deep);
    for (auto level = levels.rbegin(); level + 1 != levels.rend(); ++level)
        std::filesystem::remove(*level);
    const std::string folder
        = "“" + temp.path.string() + "”不是文本文件，而是文件夹、设备或管道，无法读入。";
    EXPECT_EQ(message(temp.path.string()), folder);
    EXPECT_NE(message(temp.write("utf16.txt", std::string("a\0", 2))).find("UTF-16"),
              std::string::npos);
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(temp.name("pipe").c_str(), 0600), 0);
    EXPECT_NE(message(temp.name("pipe")).find("设备或管道"), std::string::npos);
#endif
}
