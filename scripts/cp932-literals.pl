#!/usr/bin/env perl
# Copies a UTF-8 C++ source with every narrow string or character literal that holds characters
# beyond ASCII written as the octal escapes of its code page 932 bytes, as the product's compilers
# make it with -fexec-charset=CP932. UTF-16 literals (u"...", L"...") and comments stay UTF-8.
# Usage: cp932-literals.pl < source.cpp > copy.cpp
use strict;
use warnings;
use Encode qw(decode encode);

local $/;
my $text = decode('UTF-8', <STDIN>, Encode::FB_CROAK | Encode::LEAVE_SRC);
my $out = '';
pos($text) = 0;
while (pos($text) < length $text) {
    if ($text =~ m{\G(//[^\n]*|/\*.*?\*/)}gcs) {
        $out .= $1;                                  # a comment
    } elsif ($text =~ m{\G((?:u8|u|U|L)?)(["'])((?:[^"'\\\n]|\\.|(?!\2)["'])*)\2}gcs) {
        my ($prefix, $quote, $body) = ($1, $2, $3);
        if ($prefix eq '' && $body =~ /[^\x00-\x7f]/) {
            # Octal escapes take at most three digits: nothing that follows can join them.
            $body =~ s{([^\x00-\x7f]+)}{join '', map { sprintf '\\%03o', ord } split //, encode('cp932', $1, Encode::FB_CROAK | Encode::LEAVE_SRC)}ge;
        }
        $out .= $prefix . $quote . $body . $quote;
    } elsif ($text =~ m{\G([A-Za-z_][A-Za-z0-9_]*|[^A-Za-z_"'/]+|/)}gcs) {
        $out .= $1;                                  # names (a prefix only counts before a quote)
    } else {
        die "cp932-literals: cannot read the source at offset " . pos($text) . "\n";
    }
}
binmode STDOUT, ':encoding(UTF-8)';
print $out;
