// A stand-in for the animation program: notes its start in started.txt in the folder it runs in
// (its working directory), and ends. Plain C library only, so that it runs from any folder.
#include <cstdio>

int main() {
  std::FILE* f = std::fopen("started.txt", "ab");
  if (!f) return 1;
  std::fputs("started\n", f);
  return std::fclose(f) == 0 ? 0 : 1;
}
