// The few Scintilla messages and values the text box sends, by the numbers of Scintilla's
// interface, which stay the same from version to version and on every platform.
#pragma once

#include <cstddef>

namespace zanvo::sci {

// Each message as X(name, number), so that every host can check every number against its own
// Scintilla headers (SCI_ and the name).
#define ZANVO_SCI_MESSAGES(X)                                                                      \
    X(ADDTEXT, 2001)                                                                               \
    X(GETLENGTH, 2006)                                                                             \
    X(GETCURRENTPOS, 2008)                                                                         \
    X(REDO, 2011)                                                                                  \
    X(SELECTALL, 2013)                                                                             \
    X(SETUNDOCOLLECTION, 2012)                                                                     \
    X(CANREDO, 2016)                                                                               \
    X(SETEOLMODE, 2031)                                                                            \
    X(SETCODEPAGE, 2037)                                                                           \
    X(BEGINUNDOACTION, 2078)                                                                       \
    X(ENDUNDOACTION, 2079)                                                                         \
    X(SETHSCROLLBAR, 2130)                                                                         \
    X(GETLINEENDPOSITION, 2136)                                                                    \
    X(GETREADONLY, 2140)                                                                           \
    X(GETSELECTIONSTART, 2143)                                                                     \
    X(GETSELECTIONEND, 2145)                                                                       \
    X(SETMARGINLEFT, 2155)                                                                         \
    X(SETMARGINRIGHT, 2157)                                                                        \
    X(LINEFROMPOSITION, 2166)                                                                      \
    X(POSITIONFROMLINE, 2167)                                                                      \
    X(SCROLLCARET, 2169)                                                                           \
    X(REPLACESEL, 2170)                                                                            \
    X(SETREADONLY, 2171)                                                                           \
    X(CANPASTE, 2173)                                                                              \
    X(CANUNDO, 2174)                                                                               \
    X(UNDO, 2176)                                                                                  \
    X(CUT, 2177)                                                                                   \
    X(COPY, 2178)                                                                                  \
    X(CLEAR, 2180)                                                                                 \
    X(SETMARGINWIDTHN, 2242)                                                                       \
    X(SETWRAPMODE, 2268)                                                                           \
    X(GETWRAPMODE, 2269)                                                                           \
    X(SETLAYOUTCACHE, 2272)                                                                        \
    X(SETSCROLLWIDTH, 2274)                                                                        \
    X(APPENDTEXT, 2282)                                                                            \
    X(GETDOCPOINTER, 2357)                                                                         \
    X(SETDOCPOINTER, 2358)                                                                         \
    X(USEPOPUP, 2371)                                                                              \
    X(SELECTIONISRECTANGLE, 2372)                                                                  \
    X(CREATEDOCUMENT, 2375)                                                                        \
    X(ADDREFDOCUMENT, 2376)                                                                        \
    X(RELEASEDOCUMENT, 2377)                                                                       \
    X(GETDOCUMENTOPTIONS, 2379)                                                                    \
    X(SETPASTECONVERTENDINGS, 2467)                                                                \
    X(SETSCROLLWIDTHTRACKING, 2516)                                                                \
    X(GETCHARACTERPOINTER, 2520)                                                                   \
    X(SETEMPTYSELECTION, 2556)                                                                     \
    X(CREATELOADER, 2632)

enum Message : unsigned {
#define ZANVO_SCI_ENUMERATOR(name, number) name = number,
    ZANVO_SCI_MESSAGES(ZANVO_SCI_ENUMERATOR)
#undef ZANVO_SCI_ENUMERATOR
};

inline constexpr long CP_UTF8 = 65001;
inline constexpr long EOL_CRLF = 0;
inline constexpr long WRAP_NONE = 0;
inline constexpr long WRAP_WORD = 1;
inline constexpr long CACHE_PAGE = 2;
inline constexpr long POPUP_NEVER = 0;
inline constexpr long DOCUMENTOPTION_STYLES_NONE = 0x1;
inline constexpr long DOCUMENTOPTION_TEXT_LARGE = 0x100;
inline constexpr int MOD_INSERTTEXT = 0x1;
inline constexpr int MOD_DELETETEXT = 0x2;
inline constexpr int PERFORMED_USER = 0x10;
inline constexpr int STATUS_OK = 0;
// The values above by name, for the hosts' check against SC_ and the name.
#define ZANVO_SCI_VALUES(X)                                                                        \
    X(CP_UTF8)                                                                                     \
    X(EOL_CRLF)                                                                                    \
    X(WRAP_NONE)                                                                                   \
    X(WRAP_WORD)                                                                                   \
    X(CACHE_PAGE)                                                                                  \
    X(POPUP_NEVER)                                                                                 \
    X(DOCUMENTOPTION_STYLES_NONE)                                                                  \
    X(DOCUMENTOPTION_TEXT_LARGE)                                                                   \
    X(MOD_INSERTTEXT)                                                                              \
    X(MOD_DELETETEXT)                                                                              \
    X(PERFORMED_USER)                                                                              \
    X(STATUS_OK)

// Scintilla's interface for filling a document off the UI thread, as its ILoader.h declares it:
// in the global namespace in QScintilla's Scintilla, where this is that very class, and in
// namespace Scintilla in Scintilla 5, whose loaders this is called on through the same table of
// virtual functions (the Win32 host checks that the two declare the same functions).
} // namespace zanvo::sci

class ILoader {
public:
    virtual int Release() = 0;
    virtual int AddData(const char *data, std::ptrdiff_t length) = 0;
    virtual void *ConvertToDocument() = 0;

protected:
    ~ILoader() = default;
};
