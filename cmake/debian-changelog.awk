# CHANGELOG.md in Debian's change-log format, for the package's changelog.gz: each
# "## <version> (<yyyy-mm-dd>)" section one entry, each paragraph or "- " item of it one change,
# wrapped within 80 columns.
# usage: awk -v package=NAME -v maintainer="NAME <ADDRESS>" -f debian-changelog.awk CHANGELOG.md
function change(    n, i, words, line) {
    n = split(text, words, " ")
    line = "  *"
    for (i = 1; i <= n; i++) {
        if (length(line) + 1 + length(words[i]) > 79) {
            print line
            line = "   "
        }
        line = line " " words[i]
    }
    if (n > 0) {
        print line
    }
    text = ""
}
function trailer(    command, stamp) {
    change()
    if (date == "") {
        return
    }
    command = "date -R -u -d " date
    command | getline stamp
    close(command)
    print ""
    print " -- " maintainer "  " stamp
    print ""
}
/^## / {
    trailer()
    date = substr($3, 2, 10)
    print package " (" $2 ") unstable; urgency=medium"
    print ""
    next
}
/^#/ { next }
/^- / { change(); text = substr($0, 3); next }
/^[[:space:]]*$/ { change(); next }
{ text = text " " $0 }
END { trailer() }
