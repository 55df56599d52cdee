# The resource job as a perl user might write it; same rules as rc.awk.
while (<>) {
    $table = 1 if /STRINGTABLE/;
    if (/(CAPTION|CONTROL|[LRC]TEXT|POPUP|MENUITEM|PUSHBUTTON)/) {
        $keyword = $1;
    } elsif (!$table) {
        next;
    } elsif (/END|\}/) {
        $table = 0;
        next;
    } else {
        $keyword = "STRINGTABLE";
    }
    print "$1\t$keyword\t$ARGV\r\n" if /"([^"]*)"/;
}
