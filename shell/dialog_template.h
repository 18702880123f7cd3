#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// A copy of a dialog description (the DLGTEMPLATE or DLGTEMPLATEEX layout of a dialog resource)
// whose class field names windowClass, so that the dialog window is created with that class. The
// copy is 116 bytes larger than the description; its controls keep their 4-byte alignment. An
// empty result means the description is damaged (a field runs past its end) or the class name is
// not plain ASCII.
std::vector<std::uint8_t> CopyDialogWithClass(const std::uint8_t* description, std::size_t size,
                                              std::string_view windowClass);

// How much larger the copy is than the description.
inline constexpr std::size_t dialogCopyExtraBytes = 116;
