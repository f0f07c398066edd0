// The few Scintilla messages and values the text box sends, by the numbers of Scintilla's
// interface, which stay the same from version to version and on every platform.
#pragma once

#include <cstddef>

namespace zanvo::sci {

enum Message : unsigned {
    ADDTEXT = 2001,
    GETLENGTH = 2006,
    GETCURRENTPOS = 2008,
    REDO = 2011,
    SELECTALL = 2013,
    SETUNDOCOLLECTION = 2012,
    CANREDO = 2016,
    GOTOPOS = 2025,
    SETEOLMODE = 2031,
    SETCODEPAGE = 2037,
    BEGINUNDOACTION = 2078,
    ENDUNDOACTION = 2079,
    SETHSCROLLBAR = 2130,
    GETLINEENDPOSITION = 2136,
    GETREADONLY = 2140,
    GETSELECTIONSTART = 2143,
    GETSELECTIONEND = 2145,
    SETMARGINLEFT = 2155,
    SETMARGINRIGHT = 2157,
    LINEFROMPOSITION = 2166,
    POSITIONFROMLINE = 2167,
    SCROLLCARET = 2169,
    REPLACESEL = 2170,
    SETREADONLY = 2171,
    CANPASTE = 2173,
    CANUNDO = 2174,
    UNDO = 2176,
    CUT = 2177,
    COPY = 2178,
    CLEAR = 2180,
    SETMARGINWIDTHN = 2242,
    SETWRAPMODE = 2268,
    GETWRAPMODE = 2269,
    SETLAYOUTCACHE = 2272,
    SETSCROLLWIDTH = 2274,
    APPENDTEXT = 2282,
    GETDOCPOINTER = 2357,
    SETDOCPOINTER = 2358,
    USEPOPUP = 2371,
    SELECTIONISRECTANGLE = 2372,
    CREATEDOCUMENT = 2375,
    ADDREFDOCUMENT = 2376,
    RELEASEDOCUMENT = 2377,
    SETPASTECONVERTENDINGS = 2467,
    SETSCROLLWIDTHTRACKING = 2516,
    GETCHARACTERPOINTER = 2520,
    CREATELOADER = 2632,
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

// Scintilla's interface for filling a document off the UI thread, as Scintilla's ILoader.h
// declares it in the global namespace: a type of another name would not be the one the
// library's documents derive from.
} // namespace zanvo::sci

class ILoader {
public:
    virtual int Release() = 0;
    virtual int AddData(const char *data, std::ptrdiff_t length) = 0;
    virtual void *ConvertToDocument() = 0;

protected:
    ~ILoader() = default;
};
