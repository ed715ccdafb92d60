/* A library the test plugin links against but the loader is never told where to find. */
int kpTestAbsentFunction(void) {
    return 1;
}
