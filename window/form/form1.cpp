// Form1's handlers.
#include "window/form/form1.h"

#include "scrambler/scrambler.h"
#include "window/form/errorreport.h"
#include "window/form/skin.h"
#include "window/form/textfile.h"

namespace zanvo {

namespace {
// What the box's loader and the clipboard text take at a time.
constexpr std::size_t chunkBytes = 256 * 1024;
} // namespace

std::string_view form1::homePageAddress()
{
    return ZANVO_HOME_PAGE;
}

std::string form1::label2Text()
{
    return "Zanvo网盘   " + std::string(homePageAddress()) + "   欢迎大家提出宝贵建议";
}

Form1::Form1(FormControls &controls, FormServices &services, UiThread &ui, RandomSource &random,
             Platform platform)
    : m_controls(controls), m_services(services), m_ui(ui), m_random(random), m_platform(platform)
{
}

Form1::~Form1()
{
    m_job.reset();
}

void Form1::guard(const std::function<void()> &work)
{
    if (const auto report = runGuarded(work)) {
        m_controls.messageBox(*report, form1::applicationTitle);
        m_controls.endProgram(runtimeErrorStatus);
    }
}

void Form1::hookUp(ScintillaBox &box)
{
    box.setGuard([this](const std::function<void()> &work) { guard(work); });
    box.onPasting([this](bool pasting) { m_controls.setBusy(pasting); });
    box.onClipboardFailed(
        [this](std::string_view why) { m_controls.messageBox(why, form1::applicationTitle); });
    box.onRemoveDuplicates([this] { RemoveDuplicates_Click(); });
    box.onRemoveBlankLines([this] { RemoveBlankLines_Click(); });
}

void Form1::Form_Load()
{
    SkinH_AttachEx(skinPath(m_services.applicationFolder()), "");
}

int Form1::SkinH_AttachEx(std::string_view path, std::string_view)
{
    const Skin skin = readSkin(path);
    if (skin.status == SkinAttached)
        m_controls.applySkin(skin.sheet);
    return skin.status;
}

// The box's new text and, where asked, the clipboard's with the platform's line breaks, in one
// pass. Lines are short: they go on in chunks, which end between pieces and so never inside a
// character or between the CR and the LF of a break.
class Form1::TextSink {
public:
    TextSink(TextBox::Content &content, Clipboard::Content *clipboard, Platform platform)
        : m_content(content), m_clipboard(clipboard), m_platform(platform)
    {
    }
    void reserve(std::size_t length)
    {
        m_content.reserve(length);
        if (m_clipboard)
            m_clipboard->reserve(length);
        m_chunk.reserve(chunkBytes);
    }
    void write(const char *p, std::size_t n)
    {
        if (m_chunk.size() + n > chunkBytes)
            flush();
        if (n > chunkBytes)
            pass({p, n});
        else
            m_chunk.append(p, n);
    }
    void flush()
    {
        pass(m_chunk);
        m_chunk.clear();
    }

private:
    void pass(std::string_view piece)
    {
        m_content.add(piece.data(), piece.size());
        if (!m_clipboard)
            return;
        m_copied.clear();
        appendCopiedLineBreaks(m_platform, m_copied, piece);
        m_clipboard->add(m_copied);
    }

    TextBox::Content &m_content;
    Clipboard::Content *m_clipboard;
    Platform m_platform;
    std::string m_chunk;
    std::string m_copied;
};

void Form1::Command1_Click()
{
    TextBox &box = m_controls.text1();
    if (m_job || box.isBusy())
        return;
    box.endComposition();
    if (box.isEmpty()) {
        m_controls.messageBox(form1::emptyPrompt, form1::applicationTitle);
        box.replace(form1::emptyPrompt);
    }
    m_random.reseed(m_services.secondsSinceMidnight());
    rewriteText(true, [this](std::string_view text, TextSink &sink) {
        scrambleTo(text, m_random, LineBreak::CrLf, sink);
        return true;
    });
}

void Form1::RemoveDuplicates_Click()
{
    removeLines([](std::string_view text, TextSink &sink) {
        return uniqueLinesTo(text, LineBreak::CrLf, sink) != 0;
    });
}

void Form1::RemoveBlankLines_Click()
{
    removeLines([](std::string_view text, TextSink &sink) {
        return blankLinesTo(text, LineBreak::CrLf, sink) != 0;
    });
}

void Form1::Text1_OLEDragDrop(const std::vector<std::string> &files)
{
    TextBox &box = m_controls.text1();
    if (m_job || box.isBusy() || files.empty())
        return;
    if (files.size() > 1) {
        m_controls.messageBox("一次只能拖入一个文件。", form1::applicationTitle);
        return;
    }
    box.endComposition();
    const std::size_t caret = box.caret();
    rewriteText(false, [this, name = files.front(), caret](std::string_view text, TextSink &sink) {
        const std::string dropped = readTextFile(name);
        sink.write(text.data(), caret);
        sink.write(dropped.data(), dropped.size());
        sink.write(text.data() + caret, text.size() - caret);
        // The caret stays before the dropped text, where the user left it: Scintilla takes a
        // quarter of a second to move it past 50 MB of text, on the UI thread.
        m_caret = caret;
        return !dropped.empty();
    });
}

void Form1::removeLines(Rewrite rewrite)
{
    TextBox &box = m_controls.text1();
    if (m_job || box.isBusy())
        return;
    box.endComposition();
    if (box.isEmpty())
        return;
    rewriteText(false, std::move(rewrite));
}

void Form1::rewriteText(bool copies, Rewrite rewrite)
{
    TextBox &box = m_controls.text1();
    m_content = box.newContent();
    m_clipboard = copies ? m_services.clipboard().newContent() : nullptr;
    m_caret = 0;
    box.setBusy(true);
    m_controls.setBusy(true);
    m_controls.showProgress(form1::progressDelay);
    m_job = std::make_unique<BackgroundJob>(
        m_ui,
        [this, rewrite = std::move(rewrite), text = box.text(), content = m_content.get(),
         clipboard = m_clipboard.get()] {
            TextSink sink(*content, clipboard, m_platform);
            m_changed = rewrite(text, sink);
            sink.flush();
            content->finish();
            if (clipboard)
                clipboard->finish();
        },
        [this](std::exception_ptr error) { guard([&] { finishRewrite(error); }); });
}

void Form1::finishRewrite(std::exception_ptr error)
{
    m_job.reset();
    auto content = std::move(m_content);
    auto clipboard = std::move(m_clipboard);
    TextBox &box = m_controls.text1();
    m_controls.hideProgress();
    m_controls.setBusy(false);
    box.setBusy(false);
    if (error) {
        try {
            std::rethrow_exception(error);
        } catch (const FileRefused &refused) {
            m_controls.messageBox(refused.what(), form1::applicationTitle);
        }
    } else {
        if (m_changed)
            box.show(std::move(content), m_caret);
        if (clipboard)
            if (const ClipboardPut put = m_services.clipboard().put(std::move(clipboard));
                put != ClipboardPut::Done)
                m_controls.messageBox(form1::clipboardFailure(put), form1::applicationTitle);
    }
    if (m_finished)
        m_finished();
}

void Form1::Command2_Click()
{
    openHomePage();
}

void Form1::Label2_Click()
{
    openHomePage();
}

void Form1::openHomePage()
{
    // Where no browser launcher can be started, say so and keep running: ending the program
    // here would throw away whatever the user has in the box.
    const std::string address(form1::homePageAddress());
    if (!m_services.processStart(urlOpener(m_platform), {address},
                                 launcherStartsMinimised(m_platform)))
        m_controls.messageBox("无法打开网页，请在浏览器中访问：\n" + address,
                              form1::applicationTitle);
}

} // namespace zanvo
