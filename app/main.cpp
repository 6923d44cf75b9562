// vexmora: program entry.
#include <cstdio>

int main()
{
    std::printf("VexmoraMKV格式转换器 (vexmora) %s\n", VX_VERSION);
    return 0;
}
