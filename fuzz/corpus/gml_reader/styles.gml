graph [ node [ id 1 label "x\"y\\" graphics [ stipple 3 pattern 14 w 1.5 ] ] node [ id 3 ] edge [ source 1 target 2 ] edge [ source 3 target 3 ] directed 0 ]
