#include "editor/m1_program.h"

#include <bit>
#include <cstring>

ProgramBytes ProgramToBytes(const M1Program& program) {
    return std::bit_cast<ProgramBytes>(program);
}

M1Program ProgramFromBytes(const ProgramBytes& bytes) {
    return std::bit_cast<M1Program>(bytes);
}

std::uint8_t ProgramByte(const M1Program& program, int offset) {
    if (offset < 0 || offset >= m1ProgramSize)
        return 0;
    std::uint8_t value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&program) + offset, 1);
    return value;
}

void SetProgramByte(M1Program& program, int offset, std::uint8_t value) {
    if (offset < 0 || offset >= m1ProgramSize)
        return;
    std::memcpy(reinterpret_cast<unsigned char*>(&program) + offset, &value, 1);
}

void ClearProgram(M1Program& program) {
    program = M1Program{};
    std::memset(program.name, ' ', sizeof program.name);
}
