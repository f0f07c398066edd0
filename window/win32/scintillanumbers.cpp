// The numbers and the loader interface the shared box uses are those of the Scintilla this host
// is built with, checked when it compiles. Apart from the rest of the host, whose windows.h names
// CP_UTF8 too.
#include "window/form/scintilla.h"

#include <ILoader.h>
#include <Scintilla.h>
#include <type_traits>

namespace zanvo::sci {

#define ZANVO_SCI_CHECK_MESSAGE(name, number) static_assert(number == SCI_##name, #name);
ZANVO_SCI_MESSAGES(ZANVO_SCI_CHECK_MESSAGE)
#define ZANVO_SCI_CHECK_VALUE(name) static_assert(name == SC_##name, #name);
ZANVO_SCI_VALUES(ZANVO_SCI_CHECK_VALUE)

namespace {

// A member function's type without its class.
template<class> struct FunctionOf;
template<class Class, class Function> struct FunctionOf<Function Class::*> {
    using type = Function;
};
template<auto ours, auto theirs>
constexpr bool sameFunction = std::is_same_v<typename FunctionOf<decltype(ours)>::type,
                                             typename FunctionOf<decltype(theirs)>::type>;

} // namespace

// The shared box calls Scintilla 5's loader through the global ILoader: the same functions, in
// the same order, with no data.
static_assert(sameFunction<&::ILoader::Release, &Scintilla::ILoader::Release>);
static_assert(sameFunction<&::ILoader::AddData, &Scintilla::ILoader::AddData>);
static_assert(sameFunction<&::ILoader::ConvertToDocument, &Scintilla::ILoader::ConvertToDocument>);
static_assert(sizeof(::ILoader) == sizeof(Scintilla::ILoader));

} // namespace zanvo::sci
