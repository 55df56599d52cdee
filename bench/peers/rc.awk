# What a user might write for the resource kind: the first quoted piece of
# every line with a resource keyword or inside a string table, then TAB,
# keyword, TAB, file name, CR LF.
/STRINGTABLE/ { table = 1 }
{
    if (match($0, /CAPTION|CONTROL|[LRC]TEXT|POPUP|MENUITEM|PUSHBUTTON/))
        keyword = substr($0, RSTART, RLENGTH)
    else if (!table)
        next
    else if (/END|}/) {
        table = 0
        next
    } else
        keyword = "STRINGTABLE"
    if (match($0, /"[^"]*"/))
        printf "%s\t%s\t%s\r\n", substr($0, RSTART + 1, RLENGTH - 2), keyword, FILENAME
}
