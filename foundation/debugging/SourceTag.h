#pragma once
// The source tag of a log record: the calling function's qualified name, "@"
// and the source line, with every "::" turned into ":".
//
//   MakeSourceTag("void ResourceLib::IManager::SetLanguageVerify(int)", 15)
//       == L"ResourceLib:IManager:SetLanguageVerify@15"
#include <string>

namespace Debugging {

// The qualified name inside a compiler's function signature text
// (__PRETTY_FUNCTION__): without return type, specifiers, parameters,
// qualifiers and template arguments of "[with ...]"; a lambda is named after
// its enclosing function followed by "::<lambda>".
std::string QualifiedFunctionName(const char* signature);

std::wstring MakeSourceTag(const char* signature, int line);

}  // namespace Debugging
