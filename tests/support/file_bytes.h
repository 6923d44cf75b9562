// Reading and writing whole files as bytes in tests.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
}
