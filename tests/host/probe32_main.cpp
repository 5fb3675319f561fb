// Gate of the tests through Wine that ctest runs as commands: runs the
// command given where this machine can run 32-bit programs; where its
// kernel refuses them, says so and exits 77, which ctest counts as a skip.
// With no command it only answers: 0 they run, 77 they do not, 2 unknown.
#include "machine.h"

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    const kmhost::Runs32 runs = kmhost::runs_32bit_programs();
    if (runs == kmhost::Runs32::no) {
        std::puts("skipped: this machine's kernel cannot run 32-bit programs, so Wine cannot "
                  "start the 32-bit driver host");
        return 77;
    }
    if (argc < 2) return runs == kmhost::Runs32::yes ? 0 : 2;
    execvp(argv[1], argv + 1);
    std::perror(argv[1]);
    return 127;
}
