// The program's one window as its handlers see it, whatever draws it: the seams a host
// implements (FormControls, FormServices) and Form1's handlers, Form_Load, the Start command, the
// home page links, the removal of repeated lines and the run-time error guard. A window host
// creates and places the controls from the window's description, implements the seams, and
// sends each control's event to its handler through handle().
#pragma once

#include "runtime/randomsource.h"
#include "window/form/clipboard.h"
#include "window/form/form1description.h"
#include "window/form/job.h"
#include "window/form/platform.h"
#include "window/form/scintillabox.h"
#include "window/form/textbox.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zanvo {

namespace form1 {

// How long a Start works before the window shows that it does.
inline constexpr std::chrono::milliseconds progressDelay {500};

} // namespace form1

// What the handlers touch in the host's window.
class FormControls {
public:
    virtual ~FormControls() = default;
    virtual TextBox &text1() = 0;
    // The busy cursor over the window.
    virtual void setBusy(bool busy) = 0;
    // Shows the progress bar once after has passed, unless hideProgress() comes first.
    virtual void showProgress(std::chrono::milliseconds after) = 0;
    virtual void hideProgress() = 0;
    // A modal message box: prompt under title, one button "确定", no icon; returns when closed.
    virtual void messageBox(std::string_view prompt, std::string_view title) = 0;
    // Ends the program with status, once the handler has returned.
    virtual void endProgram(int status) = 0;
    // Styles the window with a skin that passed its checks: the Qt host hands the whole style
    // sheet to Qt, the Win32 host draws the subset that skinLook reads from it.
    virtual void applySkin(std::string_view sheet) = 0;
};

// The platform services the handlers call.
class FormServices {
public:
    virtual ~FormServices() = default;
    virtual float secondsSinceMidnight() = 0;
    virtual Clipboard &clipboard() = 0;
    // Starts program with arguments without waiting, minimised with the focus where asked;
    // returns whether it started.
    virtual bool processStart(std::string_view program, const std::vector<std::string> &arguments,
                              bool minimised)
        = 0;
    // The folder that holds the program file, in the platform's notation.
    virtual std::string applicationFolder() = 0;
};

class Form1 {
public:
    // Draws Start's random order from random, which it reseeds on every Start.
    Form1(FormControls &controls, FormServices &services, UiThread &ui,
          RandomSource &random = RandomSource::process(), Platform platform = thisPlatform());
    // Waits for a Start under way, whose work still reads the box.
    ~Form1();
    Form1(const Form1 &) = delete;
    Form1 &operator=(const Form1 &) = delete;

    // Runs a handler, or any work on the UI thread, as the runtime runs a handler: a run-time
    // error raised inside it is reported in a message box and ends the program.
    void handle(void (Form1::*handler)())
    {
        guard([&] { (this->*handler)(); });
    }
    void guard(const std::function<void()> &work);

    // Hooks the box's own events up to the form, for every host alike: the box's commands run
    // under the guard, a large paste shows as busy, a copy that fails says why, and the menu's
    // removals run as the form's.
    void hookUp(ScintillaBox &box);

    // Attaches the skin file beside the program; whatever the skin layer answers, start-up
    // goes on.
    void Form_Load();
    // The skin layer: reads and checks the skin file at path and, where it passes, has the host
    // style the window with it; the second argument is reserved and empty. Returns a SkinStatus.
    int SkinH_AttachEx(std::string_view path, std::string_view password);
    // Scrambles the box's text, shows the result in the box and copies it to the clipboard. The
    // work runs on a worker thread; the window stays responsive and takes no second Start
    // meanwhile.
    void Command1_Click();
    // Each opens the home page in the web browser in a process of its own, without waiting.
    void Command2_Click();
    void Label2_Click();
    // The box menu's 删除重复行: leaves out every line that repeats an earlier one, empty lines
    // kept, as one step that undo takes back. It works as Start does, off the UI thread, but
    // copies nothing; a text without repeats stays as it is, with no step to undo.
    void RemoveDuplicates_Click();
    // The box menu's 删除空白行: leaves out every line that is empty or holds nothing but white
    // space (see isBlankLine), every other line kept as it is, as 删除重复行 does.
    void RemoveBlankLines_Click();

    // Files dropped on the box (UTF-8 names): the text of the one file, read and decoded as
    // readTextFile says, put in at the caret as one step that undo takes back. It works as
    // 删除重复行 does, off the UI thread. Several files at once, or a file that cannot be taken,
    // are refused with a message, the box as it was.
    void Text1_OLEDragDrop(const std::vector<std::string> &files);

    // Whether a Start, a removal or a drop is under way.
    bool busy() const { return m_job != nullptr; }
    // Called each time a Start, a removal or a drop has ended, its result in the box (and
    // Start's on the clipboard) or its message closed.
    void onFinished(std::function<void()> finished) { m_finished = std::move(finished); }

private:
    class TextSink;
    // Writes the box's new text to the sink; returns whether it differs from text.
    using Rewrite = std::function<bool(std::string_view text, TextSink &sink)>;
    void rewriteText(bool copies, Rewrite rewrite);
    void removeLines(Rewrite rewrite);
    void finishRewrite(std::exception_ptr error);
    void openHomePage();

    FormControls &m_controls;
    FormServices &m_services;
    UiThread &m_ui;
    RandomSource &m_random;
    Platform m_platform;
    std::unique_ptr<TextBox::Content> m_content;
    std::unique_ptr<Clipboard::Content> m_clipboard;
    bool m_changed = false;
    std::size_t m_caret = 0; // where the new text's caret goes
    std::unique_ptr<BackgroundJob> m_job;
    std::function<void()> m_finished;
};

} // namespace zanvo
