// kntrRegDel: run by the installer to offer removing settings left by earlier releases.
// Its window comes with the cleanup tool; until then it does nothing.

int main()
{
    return 0;
}
